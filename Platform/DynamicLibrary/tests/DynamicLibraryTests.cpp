#include "Platform/DynamicLibrary/DynamicLibrary.h"

#include <gtest/gtest.h>

namespace Platform
{
namespace
{

// The C maths library is on every Linux machine.
constexpr const char* kPresentLibrary = "libm.so.6";

TEST(DynamicLibraryLoading, MissingLibraryFailsWithTheSystemsText)
{
    DynamicLibrary library;
    EXPECT_FALSE(library.Open("/no/such/folder/libNothing.so"));
    EXPECT_FALSE(library.IsOpen());
    EXPECT_TRUE(
        library.GetError().starts_with("DynamicLibrary::Open: /no/such/folder/libNothing.so"))
        << library.GetError();
}

TEST(DynamicLibraryLoading, PresentLibraryGivesItsSymbols)
{
    DynamicLibrary library;
    ASSERT_TRUE(library.Open(kPresentLibrary)) << library.GetError();
    const auto cosine = library.FindFunction<double (*)(double)>("cos");
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(library.GetError(), "");
}

TEST(DynamicLibraryLoading, MissingSymbolIsNullWithTheSystemsText)
{
    DynamicLibrary library;
    ASSERT_TRUE(library.Open(kPresentLibrary));
    EXPECT_EQ(library.FindSymbol("NoSuchEntryPoint"), nullptr);
    EXPECT_TRUE(library.GetError().starts_with("DynamicLibrary::FindSymbol: "));
    EXPECT_NE(library.GetError().find("NoSuchEntryPoint"), std::string::npos) << library.GetError();
}

TEST(DynamicLibraryLoading, OpenAndCloseRefuseTheWrongState)
{
    DynamicLibrary library;
    EXPECT_FALSE(library.Close());
    EXPECT_EQ(library.FindSymbol("cos"), nullptr);
    ASSERT_TRUE(library.Open(kPresentLibrary));
    EXPECT_FALSE(library.Open(kPresentLibrary));
    EXPECT_TRUE(library.IsOpen());
    EXPECT_TRUE(library.Close());
    EXPECT_FALSE(library.IsOpen());
    EXPECT_FALSE(library.Close());
}

} // namespace
} // namespace Platform
