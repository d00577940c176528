// Raises a panel's "showing a value" flag for a scope, so that the changes its children report
// meanwhile are not taken for the user's edits; the flag drops also when showing throws.
#pragma once

namespace QZ
{

class QuietScope
{
public:
    explicit QuietScope(bool& quiet) : mQuiet(quiet) { mQuiet = true; }
    ~QuietScope() { mQuiet = false; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    bool& mQuiet;
};

} // namespace QZ
