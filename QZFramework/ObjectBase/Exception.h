// The framework's exceptions and result codes.
//
// Every thrown text is made of fields joined by " : ": the kind word ("Logic Error", "Runtime
// Error", ...), optional detail fields, the qualified name of the throwing method, the source path
// of the throwing file and "Line <n>". Catchers show or log the text unchanged, so the field order
// is part of the contract; throw through the QZ_THROW_* macros so path and line are always right.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeinfo>

namespace QZ
{

using QZRESULT = std::int32_t;

inline constexpr QZRESULT S_OK = 0;
inline constexpr QZRESULT S_FALSE = 1;
inline constexpr QZRESULT E_FAIL = static_cast<QZRESULT>(0x80004005u);
inline constexpr QZRESULT E_INVALIDARG = static_cast<QZRESULT>(0x80070057u);

inline bool Succeeded(QZRESULT result) { return result >= 0; }
inline bool Failed(QZRESULT result) { return result < 0; }

// "QZRESULT = " and the code in upper-case hexadecimal without leading zeros.
std::string FormatResultCode(QZRESULT code);

// Joins kind, details, method, path and "Line <n>" with " : ".
std::string FormatExceptionText(std::string_view kind, std::initializer_list<std::string_view> details,
                                std::string_view method, std::string_view path, int line);

// Lets a catcher that only knows the framework's base read the text.
class ExceptionBase
{
public:
    virtual ~ExceptionBase() = default;
    const char* What() const;
};

// Carries a failed result code inside its text ("Failed Result : QZRESULT = 80004005 : ...").
class FailedResultException : public std::exception
{
public:
    explicit FailedResultException(const std::string& message) : mMessage(message) {}
    const char* what() const noexcept override { return mMessage.c_str(); }

private:
    std::string mMessage;
};

template <class T>
class Exception : public T, public ExceptionBase
{
public:
    explicit Exception(const std::string& text) : T(text) {}
};

// std::bad_alloc has no text of its own; this one keeps the framework's.
template <>
class Exception<std::bad_alloc> : public std::bad_alloc, public ExceptionBase
{
public:
    explicit Exception(const std::string& text) : mText(text) {}
    const char* what() const noexcept override { return mText.c_str(); }

private:
    std::string mText;
};

// The demangled name of a type, written as "class <qualified name>" the way the exception texts
// and the default ToString spell class names.
std::string ClassNameOf(const std::type_info& type);

} // namespace QZ

#define QZ_THROW_TEXT(ExceptionType, kind, method, ...)                                            \
    throw ::QZ::Exception<ExceptionType>(                                                          \
        ::QZ::FormatExceptionText(kind, {__VA_ARGS__}, method, __FILE__, __LINE__))

#define QZ_THROW_LOGIC(method, ...) QZ_THROW_TEXT(std::logic_error, "Logic Error", method, __VA_ARGS__)
#define QZ_THROW_RUNTIME(method, ...)                                                              \
    QZ_THROW_TEXT(std::runtime_error, "Runtime Error", method, __VA_ARGS__)
#define QZ_THROW_OUT_OF_RANGE(method, ...)                                                         \
    QZ_THROW_TEXT(std::out_of_range, "Out of Range", method, __VA_ARGS__)
#define QZ_THROW_DOMAIN(method, ...)                                                               \
    QZ_THROW_TEXT(std::domain_error, "Domain Error", method, __VA_ARGS__)
#define QZ_THROW_INVALID_ARGUMENT(method, ...)                                                     \
    QZ_THROW_TEXT(std::invalid_argument, "Invalid Argument", method, __VA_ARGS__)
#define QZ_THROW_BAD_ALLOC(method, ...)                                                            \
    QZ_THROW_TEXT(std::bad_alloc, "Bad Allocation", method, __VA_ARGS__)
#define QZ_THROW_FAILED_RESULT(code, method)                                                       \
    QZ_THROW_TEXT(::QZ::FailedResultException, "Failed Result", method,                           \
                  ::QZ::FormatResultCode(code))
