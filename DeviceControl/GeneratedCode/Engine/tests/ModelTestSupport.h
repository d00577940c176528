// Helpers shared by the model's tests: value bytes, expected exception texts, and a root built
// and placed at a first identifier.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/tests/TestRootModule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes BytesOf(const QZ::Variant& value)
{
    std::uint32_t size = 0;
    const auto* data = static_cast<const std::uint8_t*>(value.GetData(size));
    return data == nullptr ? Bytes() : Bytes(data, data + size);
}

inline QZ::Variant ByteString(const Bytes& bytes)
{
    QZ::Variant value;
    value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

inline QZ::RCPtr<LTestRootModule> MakePlacedRoot(std::int32_t firstParamID)
{
    QZ::RCPtr<LTestRootModule> root = LTestRootModule::Create(true);
    root->SetFirstParamID(nullptr, firstParamID, 0);
    return root;
}

// The text of a model logic error up to the source path: kind, optional detail, method.
inline std::string LogicErrorPrefix(const std::string& method, bool invalidFirstParamID = false)
{
    return std::string("Logic Error : ") + (invalidFirstParamID ? "Invalid FirstParamID : " : "") +
           method + " : ";
}

// Runs action and checks that it throws a logic error whose text starts with prefix and ends
// with a line field.
inline void ExpectLogicError(const std::function<void()>& action, const std::string& prefix)
{
    try
    {
        action();
        ADD_FAILURE() << "no exception, expected " << prefix;
    }
    catch (const std::logic_error& error)
    {
        const std::string text = error.what();
        EXPECT_EQ(text.rfind(prefix, 0), 0u) << text;
        EXPECT_NE(text.find(" : Line "), std::string::npos) << text;
    }
}
