// The key of a handler map: a distributor and an interned identifier, ordered by the distributor's
// address, then by the identifier's.
#pragma once

#include <functional>

namespace QZ
{

class LNotificationDistributor;

class Receivable
{
public:
    Receivable(const LNotificationDistributor* distributor, const char16_t* identifier)
        : mDistributor(distributor), mIdentifier(identifier)
    {
    }
    Receivable(const Receivable&) = default;
    Receivable& operator=(const Receivable&) = default;
    virtual ~Receivable() = default;

    [[nodiscard]] const LNotificationDistributor* GetDistributor() const { return mDistributor; }
    [[nodiscard]] const char16_t* GetIdentifier() const { return mIdentifier; }

    bool operator<(const Receivable& other) const
    {
        const std::less<const void*> before;
        if (mDistributor != other.mDistributor)
        {
            return before(mDistributor, other.mDistributor);
        }
        return before(mIdentifier, other.mIdentifier);
    }

private:
    const LNotificationDistributor* mDistributor;
    const char16_t* mIdentifier;
};

} // namespace QZ
