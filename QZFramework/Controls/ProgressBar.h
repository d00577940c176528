// A horizontal progress bar: the completed share (the control value, 0..1) as a bar, the
// percentage as text and, while estimating, the time remaining in words ("1 Hour 2 Minutes 5
// Seconds Remaining").
//
// The bar draws nothing itself; it sizes the panel "activeOverlay" and sets the texts of the
// labels "percentCompleteLabel" and "timeRemainingLabel", all three required from the skin. The
// value range is 0 to 100, so the mapped value is the percentage.
//
// The estimate measures the average rate from the moment estimating was switched on and re-bases
// its sample point on every increase at least a second after the last one; reaching 1.0 ends it.
// Times are the application's running clock in seconds. The words come from the framework's
// string table, then the application's. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"

#include <cstdint>

namespace QZ
{

class LLabel;
class LPanel;

class LProgressBar : public LControl
{
public:
    LProgressBar(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LProgressBar() override;

    // Finds the children (a runtime error for a missing one), hides the time label, looks up the
    // words and sets the value 0 in the range 0 to 100.
    QZRESULT Initialize() override;
    QZRESULT PostInitialize() override;
    // Moves the bar, writes the percentage and, while estimating, the time remaining.
    void OnValueChanged() override;
    // Shows the time label with the seconds in words; a negative count reads as 0.
    void SetTimeRemaining(std::int32_t seconds);
    // Switching on starts the estimate at the current value and time.
    void SetEstimating(bool estimating);
    [[nodiscard]] bool IsEstimating() const { return mEstimating; }

    [[nodiscard]] const RCPtr<LLabel>& GetTimeLabel() const { return mTimeLabel; }
    [[nodiscard]] const RCPtr<LLabel>& GetPercentLabel() const { return mPercentLabel; }

private:
    enum Word
    {
        kHour,
        kHours,
        kMinute,
        kMinutes,
        kSecond,
        kSeconds,
        kRemaining,
        kWordCount
    };
    void Refresh();
    void Estimate();
    void LookUpWords();
    [[nodiscard]] static double GetClock();

    RCPtr<LPanel> mBar;
    RCPtr<LLabel> mTimeLabel;
    RCPtr<LLabel> mPercentLabel;
    WideString mWords[kWordCount];
    double mStartTime = 0.0;
    double mStartValue = 0.0;
    double mSampleTime = 0.0;
    double mSampleValue = 0.0;
    bool mEstimating = false;
};

} // namespace QZ
