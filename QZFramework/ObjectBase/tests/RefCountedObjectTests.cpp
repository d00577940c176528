#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <gtest/gtest.h>

#include <type_traits>

#include <regex>
#include <string>

// The test classes live outside any namespace, so the texts name them "class <Name>".

// Records its destruction and copies itself for copy-on-write.
class Counted : public virtual QZ::LRefCountedObject
{
public:
    explicit Counted(int value, int* destroyed = nullptr) : mValue(value), mDestroyed(destroyed) {}
    Counted(const Counted&) = default;
    ~Counted() override
    {
        if (mDestroyed != nullptr)
        {
            ++*mDestroyed;
        }
    }
    QZ::RCPtr<QZ::LRefCountedObject> CreateCopy() const override
    {
        return QZ::RCPtr<QZ::LRefCountedObject>(new Counted(*this));
    }

    int mValue;
    int* mDestroyed;
};

class DerivedCounted : public Counted
{
public:
    using Counted::Counted;
};

// Its copy comes back empty.
class NullCopy : public virtual QZ::LRefCountedObject
{
public:
    QZ::RCPtr<QZ::LRefCountedObject> CreateCopy() const override { return nullptr; }
};

// Its copy is of another class.
class WrongCopy : public virtual QZ::LRefCountedObject
{
public:
    explicit WrongCopy(int* copiesDestroyed) : mCopiesDestroyed(copiesDestroyed) {}
    QZ::RCPtr<QZ::LRefCountedObject> CreateCopy() const override
    {
        return QZ::RCPtr<QZ::LRefCountedObject>(new Counted(0, mCopiesDestroyed));
    }

    int* mCopiesDestroyed;
};

// Keeps the base's CreateCopy, which refuses.
class Uncopyable : public virtual QZ::LRefCountedObject
{
};

// Holds a pointer back to itself, counted as an internal reference, and records what happens to
// it where the test can still read it after the object is gone.
class SelfHolder : public virtual QZ::LRefCountedObject
{
public:
    struct Record
    {
        int destroyed = 0;
        int releaseCalls = 0;
        int countAtRelease = 0;
    };

    explicit SelfHolder(Record* record) : mRecord(record) {}
    ~SelfHolder() override { ++mRecord->destroyed; }

    void HoldSelf()
    {
        mSelf = this;
        AdjustCyclicRefCount(1);
    }
    QZ::QZRESULT ReleaseInternalReferences() override
    {
        ++mRecord->releaseCalls;
        mRecord->countAtRelease = GetRefCount();
        AdjustCyclicRefCount(-1);
        mSelf = nullptr;
        return QZ::S_OK;
    }

private:
    Record* mRecord;
    QZ::RCPtr<SelfHolder> mSelf;
};

namespace QZ
{
namespace
{

// The text starts with head and then holds exactly a path and "Line n".
void ExpectText(const std::string& text, const std::string& head)
{
    EXPECT_EQ(text.rfind(head, 0), 0u) << text;
    EXPECT_TRUE(std::regex_match(text.substr(std::min(head.size(), text.size())),
                                 std::regex("[^ ]+ : Line [0-9]+")))
        << text;
}

// The call throws the framework's exception of that kind, with the given head.
template <class Kind, class Call>
void ExpectThrowText(Call call, const std::string& head)
{
    try
    {
        call();
        ADD_FAILURE() << "no exception for " << head;
    }
    catch (const Exception<Kind>& e)
    {
        ExpectText(e.What(), head);
    }
}

// A const share must never turn into write access; upcasts between writable pointers still work.
static_assert(!std::is_constructible_v<QZ::RCPtr<Counted>, const QZ::ConstRCPtr<Counted>&>);
static_assert(!std::is_constructible_v<QZ::RCPtr<Counted>, const QZ::ConstRCPtr<DerivedCounted>&>);
static_assert(std::is_constructible_v<QZ::RCPtr<Counted>, const QZ::RCPtr<DerivedCounted>&>);
static_assert(std::is_constructible_v<QZ::ConstRCPtr<Counted>, const QZ::RCPtr<Counted>&>);

TEST(RefCounting, PointersCountTheirObjectAndTheLastDeletesItOnce)
{
    int destroyed = 0;
    {
        RCPtr<Counted> first(new Counted(1, &destroyed));
        EXPECT_EQ(first->GetRefCount(), 1);
        {
            RCPtr<Counted> second(first);
            EXPECT_EQ(first->GetRefCount(), 2);
            ConstRCPtr<Counted> constant(second);
            EXPECT_EQ(first->GetRefCount(), 3);
        }
        EXPECT_EQ(first->GetRefCount(), 1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);

    // Moving leaves the count; assigning a pointer to itself keeps it.
    RCPtr<Counted> moved(new Counted(1));
    RCPtr<Counted> pointer(std::move(moved));
    EXPECT_TRUE(moved.IsNull());
    EXPECT_EQ(pointer->GetRefCount(), 1);
    RCPtr<Counted> other(pointer);
    const RCPtr<Counted>& alias = pointer;
    pointer = alias;
    EXPECT_EQ(pointer->GetRefCount(), 2);
    pointer = pointer.Get();
    EXPECT_EQ(pointer->GetRefCount(), 2);

    // Assignment takes the new object and releases the old.
    RCPtr<Counted> replaced(new Counted(1, &destroyed));
    replaced = other;
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(other->GetRefCount(), 3);
    replaced = nullptr;
    EXPECT_EQ(other->GetRefCount(), 2);

    // Operations on a null pointer do nothing.
    RCPtr<Counted> null;
    null.Unshare();
    null.AddRefAndUnshare();
    null.Reset();
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(null);
}

TEST(CopyOnWrite, UnshareTakesAPrivateCopyOnlyOfASharedObject)
{
    RCPtr<Counted> first(new Counted(7));
    Counted* object = first.Get();
    first.Unshare();
    EXPECT_EQ(first.Get(), object);
    EXPECT_EQ(object->GetRefCount(), 1);

    RCPtr<Counted> second(first);
    second.Unshare();
    EXPECT_NE(second.Get(), first.Get());
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_EQ(second->GetRefCount(), 1);
    EXPECT_EQ(second->mValue, 7);
}

// Sharing first, then unsharing: the copy fails with the given text and both pointers keep the
// one object.
template <class T>
void ExpectUnshareRefused(const RCPtr<T>& first, const std::string& head)
{
    RCPtr<T> second(first);
    ExpectThrowText<std::logic_error>([&] { second.Unshare(); }, head);
    EXPECT_EQ(second.Get(), first.Get());
    EXPECT_EQ(first->GetRefCount(), 2);
}

TEST(CopyOnWrite, UnshareKeepsTheObjectWhenNoCopyOfItsClassComesBack)
{
    ExpectUnshareRefused(RCPtr<NullCopy>(new NullCopy), "Logic Error : class NullCopy : "
                                                        "QZ::ConstRCPtr<class NullCopy>::Unshare : ");
    // A class without CreateCopy throws before anything changes.
    ExpectUnshareRefused(RCPtr<Uncopyable>(new Uncopyable),
                         "Logic Error : CreateCopy() not implemented for RefCountedObject : "
                         "QZ::LRefCountedObject::CreateCopy : ");
    // A copy of another class is released again.
    int copiesDestroyed = 0;
    ExpectUnshareRefused(RCPtr<WrongCopy>(new WrongCopy(&copiesDestroyed)),
                         "Logic Error : class WrongCopy : "
                         "QZ::ConstRCPtr<class WrongCopy>::Unshare : ");
    EXPECT_EQ(copiesDestroyed, 1);
}

TEST(Unshareable, ANewPointerToAnUnshareableObjectTakesACopy)
{
    RCPtr<Counted> first(new Counted(3));
    first->SetUnshareable(true);
    RCPtr<Counted> second(first);
    EXPECT_NE(second.Get(), first.Get());
    EXPECT_EQ(second->mValue, 3);
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_TRUE(second->IsShareable());

    RCPtr<Counted> assigned;
    assigned = first;
    EXPECT_NE(assigned.Get(), first.Get());
    EXPECT_EQ(first->GetRefCount(), 1);
}

TEST(Unshareable, MarkingASharedObjectUnshareableThrowsAndKeepsTheFlag)
{
    RCPtr<Counted> first(new Counted(1));
    RCPtr<Counted> second(first);
    ExpectThrowText<std::runtime_error>([&] { first->SetUnshareable(true); },
                                        "Runtime Error : QZ::LRefCountedObject::SetUnshareable : ");
    EXPECT_TRUE(first->IsShareable());
    second->SetUnshareable(false);
    EXPECT_TRUE(first->IsShareable());

    second.Reset();
    first->SetUnshareable(true);
    EXPECT_FALSE(first->IsShareable());
    first->SetUnshareable(false);
    second = first;
    EXPECT_EQ(second.Get(), first.Get());
}

TEST(Unshareable, AFailedCopyForANewPointerLeavesNoReferenceBehind)
{
    RCPtr<NullCopy> first(new NullCopy);
    first->SetUnshareable(true);
    EXPECT_THROW(RCPtr<NullCopy> second(first), Exception<std::logic_error>);
    EXPECT_EQ(first->GetRefCount(), 1);

    RCPtr<NullCopy> other(new NullCopy);
    EXPECT_THROW(other = first, Exception<std::logic_error>);
    EXPECT_EQ(first->GetRefCount(), 1);
    ASSERT_TRUE(other);
    EXPECT_NE(other.Get(), first.Get());
    EXPECT_EQ(other->GetRefCount(), 1);
}

TEST(InternalReferences, ReleaseInternalReferencesRunsOnceBeforeTheLastOutsideReferenceGoes)
{
    SelfHolder::Record record;
    RCPtr<SelfHolder> holder(new SelfHolder(&record));
    holder->HoldSelf();
    EXPECT_EQ(holder->GetRefCount(), 2);
    EXPECT_EQ(holder->GetInternalRefCount(), 1);

    RCPtr<SelfHolder> second(holder);
    second.Reset();
    EXPECT_EQ(record.releaseCalls, 0);

    holder.Reset();
    EXPECT_EQ(record.releaseCalls, 1);
    EXPECT_EQ(record.countAtRelease, 2);
    EXPECT_EQ(record.destroyed, 1);

    // An object without internal references is not asked.
    SelfHolder::Record plain;
    RCPtr<SelfHolder>(new SelfHolder(&plain)).Reset();
    EXPECT_EQ(plain.releaseCalls, 0);
    EXPECT_EQ(plain.destroyed, 1);
}

TEST(InternalReferences, DefaultReleaseInternalReferencesAnswersFromTheCounts)
{
    RCPtr<Counted> pointer(new Counted(1));
    EXPECT_EQ(pointer->ReleaseInternalReferences(), S_OK);
    RCPtr<Counted> second(pointer);
    EXPECT_EQ(pointer->ReleaseInternalReferences(), E_FAIL);
    second.Reset();
    pointer->AdjustCyclicRefCount(2);
    pointer->AdjustCyclicRefCount(-1);
    EXPECT_EQ(pointer->GetInternalRefCount(), 1);
    EXPECT_EQ(pointer->ReleaseInternalReferences(), E_FAIL);
    pointer->AdjustCyclicRefCount(-1);
}

TEST(DynamicCast, AnObjectOfTheClassIsSharedAndAnyOtherGivesNull)
{
    RCPtr<Counted> counted(new Counted(1));
    RCPtr<LRefCountedObject> base(counted);
    EXPECT_EQ(counted->GetRefCount(), 2);
    RCPtr<DerivedCounted> derived = RCPtr<DerivedCounted>::DynamicCastFrom(base);
    EXPECT_TRUE(derived.IsNull());
    EXPECT_EQ(counted->GetRefCount(), 2);
    EXPECT_EQ(base.Get(), counted.Get());

    base = RCPtr<LRefCountedObject>(new DerivedCounted(4));
    counted = RCPtr<Counted>::DynamicCastFrom(base);
    ASSERT_TRUE(counted);
    EXPECT_EQ(counted->mValue, 4);
    EXPECT_EQ(base->GetRefCount(), 2);
    EXPECT_TRUE(RCPtr<Counted>::DynamicCastFrom(RCPtr<LRefCountedObject>()).IsNull());
}

TEST(DefaultOperations, UndoThrowsAndToStringNamesTheMostDerivedClass)
{
    RCPtr<LRefCountedObject> pointer(new DerivedCounted(1));
    ExpectThrowText<std::logic_error>([&] { pointer->Undo(); },
                                      "Logic Error : Undo() not implemented for RefCountedObject : "
                                      "QZ::LRefCountedObject::Undo : ");
    EXPECT_EQ(std::u16string(pointer->ToString().GetString()), u"class DerivedCounted");
}

} // namespace
} // namespace QZ
