// Something whose items lie one after another in memory and can be walked from Begin to End.
//
// The iterator is a plain pointer to the item: every array of the framework keeps its items
// contiguous, so a pointer is a full random-access iterator and range-for works through
// begin()/end().
#pragma once

namespace QZ
{

template <class T>
class IIterable
{
public:
    virtual ~IIterable() = default;

    // The first item's address; equal to End() when there are no items.
    virtual const T* Begin() const = 0;
    virtual T* Begin() = 0;
    // The address just after the last item.
    virtual const T* End() const = 0;
    virtual T* End() = 0;

    const T* begin() const { return Begin(); }
    T* begin() { return Begin(); }
    const T* end() const { return End(); }
    T* end() { return End(); }

protected:
    IIterable() = default;
    IIterable(const IIterable&) = default;
    IIterable& operator=(const IIterable&) = default;
};

} // namespace QZ
