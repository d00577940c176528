#include "QZFramework/ObjectBase/Exception.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace QZ
{
namespace
{

TEST(ResultCodes, FormatWritesUpperCaseHexWithoutLeadingZeros)
{
    EXPECT_EQ(FormatResultCode(E_FAIL), "QZRESULT = 80004005");
    EXPECT_EQ(FormatResultCode(0), "QZRESULT = 0");
    EXPECT_EQ(FormatResultCode(0x1F), "QZRESULT = 1F");
    EXPECT_EQ(FormatResultCode(E_INVALIDARG), "QZRESULT = 80070057");
}

// The fields are joined in order with spaced colons; a text without detail has four fields.
TEST(ExceptionText, FieldsAreJoinedInOrderWithSpacedColons)
{
    EXPECT_EQ(FormatExceptionText("Runtime Error",
                                  {"Null Pointer", "Couldn't find child ButtonName"},
                                  "LButtonEditPanel::Initialize", "UI/ButtonEditPanel.cpp", 88),
              "Runtime Error : Null Pointer : Couldn't find child ButtonName : "
              "LButtonEditPanel::Initialize : UI/ButtonEditPanel.cpp : Line 88");
    EXPECT_EQ(FormatExceptionText("Logic Error", {}, "QZ::LThing::Do", "Thing.h", 5),
              "Logic Error : QZ::LThing::Do : Thing.h : Line 5");
}

TEST(ExceptionText, FailedResultCarriesTheFormattedCode)
{
    try
    {
        QZ_THROW_FAILED_RESULT(E_FAIL, "LRootModuleEngine::Initialize");
    }
    catch (const Exception<FailedResultException>& e)
    {
        EXPECT_TRUE(std::regex_match(
            e.What(), std::regex("Failed Result : QZRESULT = 80004005 : "
                                 "LRootModuleEngine::Initialize : [^ ]+ : Line [0-9]+")))
            << e.What();
        EXPECT_STREQ(e.what(), e.What());
    }
}

TEST(ExceptionText, ThrowMacrosWriteTheirKindWord)
{
    const auto kindOf = [](auto thrower) -> std::string {
        try
        {
            thrower();
        }
        catch (const ExceptionBase& e)
        {
            const std::string text = e.What();
            return text.substr(0, text.find(" : "));
        }
        return "";
    };
    EXPECT_EQ(kindOf([] { QZ_THROW_LOGIC("M"); }), "Logic Error");
    EXPECT_EQ(kindOf([] { QZ_THROW_RUNTIME("M"); }), "Runtime Error");
    EXPECT_EQ(kindOf([] { QZ_THROW_OUT_OF_RANGE("M"); }), "Out of Range");
    EXPECT_EQ(kindOf([] { QZ_THROW_DOMAIN("M"); }), "Domain Error");
    EXPECT_EQ(kindOf([] { QZ_THROW_INVALID_ARGUMENT("M"); }), "Invalid Argument");
    EXPECT_EQ(kindOf([] { QZ_THROW_FAILED_RESULT(E_INVALIDARG, "M"); }), "Failed Result");
}

// What() through the framework's base gives exactly the constructor's text for every member.
template <class T>
class ExceptionFamily : public ::testing::Test
{
};
using Members = ::testing::Types<std::logic_error, std::runtime_error, std::out_of_range,
                                 std::domain_error, std::invalid_argument, std::bad_alloc,
                                 FailedResultException>;
TYPED_TEST_SUITE(ExceptionFamily, Members);

TYPED_TEST(ExceptionFamily, WhatReturnsTheTextGivenAtConstruction)
{
    const std::string text = "Kind : detail : QZ::Class::Method : Path/File.h : Line 12";
    try
    {
        throw Exception<TypeParam>(text);
    }
    catch (const ExceptionBase& e)
    {
        EXPECT_EQ(e.What(), text);
        const Exception<TypeParam> copy(dynamic_cast<const Exception<TypeParam>&>(e));
        EXPECT_EQ(copy.What(), text);
    }
}

TYPED_TEST(ExceptionFamily, StandardCatchersSeeTheSameText)
{
    const std::string text = "Some text";
    try
    {
        throw Exception<TypeParam>(text);
    }
    catch (const TypeParam& e)
    {
        EXPECT_EQ(e.what(), text);
    }
}

} // namespace
} // namespace QZ
