// Parameters of the support library: tapers both ways, display texts both
// ways, and a parameter built from them.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "adapters/aax/support/AAX_CBinaryDisplayDelegate.h"
#include "adapters/aax/support/AAX_CBinaryTaperDelegate.h"
#include "adapters/aax/support/AAX_CLinearTaperDelegate.h"
#include "adapters/aax/support/AAX_CNumberDisplayDelegate.h"
#include "adapters/aax/support/AAX_CParameter.h"
#include "adapters/aax/support/AAX_CParameterManager.h"
#include "adapters/aax/support/AAX_CStringDisplayDelegate.h"
#include "adapters/aax/support/AAX_CUnitDisplayDelegateDecorator.h"

namespace {

TEST(AaxTaper, LinearMapsRangeBothWaysAndConstrains) {
  const AAX_CLinearTaperDelegate<double> taper(-24.0, 24.0);
  EXPECT_DOUBLE_EQ(taper.NormalizedToReal(0.0), -24.0);
  EXPECT_DOUBLE_EQ(taper.NormalizedToReal(0.75), 12.0);
  EXPECT_DOUBLE_EQ(taper.NormalizedToReal(2.0), 24.0);
  EXPECT_DOUBLE_EQ(taper.NormalizedToReal(std::nan("")), -24.0);
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(12.0), 0.75);
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(100.0), 1.0);

  // Integers round to the nearest step; an empty range maps to 0.
  const AAX_CLinearTaperDelegate<int32_t> steps(0, 3);
  EXPECT_EQ(steps.NormalizedToReal(1.0 / 3.0), 1);
  EXPECT_EQ(steps.NormalizedToReal(0.6), 2);
  EXPECT_DOUBLE_EQ(steps.RealToNormalized(2), 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(AAX_CLinearTaperDelegate<int32_t>(5, 5).RealToNormalized(5), 0.0);
}

TEST(AaxTaper, BinaryHasTwoStates) {
  const AAX_CBinaryTaperDelegate<bool> taper;
  EXPECT_FALSE(taper.NormalizedToReal(0.49));
  EXPECT_TRUE(taper.NormalizedToReal(0.5));
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(true), 1.0);
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(false), 0.0);
}

TEST(AaxDisplay, TextsBothWays) {
  AAX_CString text;
  const AAX_CNumberDisplayDelegate<double> number;
  ASSERT_TRUE(number.ValueToString(-6.0, &text));
  EXPECT_STREQ(text.Get(), "-6.00");
  const AAX_CUnitDisplayDelegateDecorator<double> decibels(number, "dB");
  ASSERT_TRUE(decibels.ValueToString(3.256, &text));
  EXPECT_STREQ(text.Get(), "3.26 dB");
  ASSERT_TRUE(decibels.ValueToString(3.256, 3, &text));
  EXPECT_STREQ(text.Get(), "3.2");

  double value = 0.0;
  EXPECT_TRUE(decibels.StringToValue("-4.5 dB", &value));
  EXPECT_DOUBLE_EQ(value, -4.5);
  EXPECT_TRUE(decibels.StringToValue("7", &value));
  EXPECT_DOUBLE_EQ(value, 7.0);
  value = 1.0;
  EXPECT_FALSE(decibels.StringToValue("loud", &value));
  EXPECT_FALSE(number.StringToValue("1e999", &value));
  EXPECT_DOUBLE_EQ(value, 1.0);

  const AAX_CNumberDisplayDelegate<int32_t> integer;
  ASSERT_TRUE(integer.ValueToString(12, &text));
  EXPECT_STREQ(text.Get(), "12");

  const AAX_CStringDisplayDelegate<int32_t> named({{0, "LR"}, {1, "L"}, {3, "RL"}});
  ASSERT_TRUE(named.ValueToString(3, &text));
  EXPECT_STREQ(text.Get(), "RL");
  EXPECT_FALSE(named.ValueToString(2, &text));
  int32_t index = -1;
  EXPECT_TRUE(named.StringToValue("L", &index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(named.StringToValue("l", &index));

  const AAX_CBinaryDisplayDelegate<bool> bypass("bypass", "on");
  ASSERT_TRUE(bypass.ValueToString(false, &text));
  EXPECT_STREQ(text.Get(), "bypass");
  bool on = false;
  EXPECT_TRUE(bypass.StringToValue("on", &on));
  EXPECT_TRUE(on);
}

TEST(AaxParameter, ValueGoesThroughItsTaperAndDisplay) {
  AAX_CParameter<double> gain("7", "Gain Level", 0.0, AAX_CLinearTaperDelegate<double>(-24.0, 24.0),
                              AAX_CUnitDisplayDelegateDecorator<double>(
                                  AAX_CNumberDisplayDelegate<double>(), "dB"),
                              true);
  EXPECT_DOUBLE_EQ(gain.GetNormalizedDefaultValue(), 0.5);
  EXPECT_DOUBLE_EQ(gain.GetNormalizedValue(), 0.5);

  double normalized = -1.0;
  ASSERT_TRUE(gain.GetNormalizedValueFromString("12 dB", &normalized));
  EXPECT_DOUBLE_EQ(normalized, 0.75);
  // Typed values beyond the range are held at its ends.
  ASSERT_TRUE(gain.GetNormalizedValueFromString("99", &normalized));
  EXPECT_DOUBLE_EQ(normalized, 1.0);

  gain.SetNormalizedValue(0.25);
  AAX_CString text;
  ASSERT_TRUE(gain.GetValueString(32, &text));
  EXPECT_STREQ(text.Get(), "-12.00 dB");
  double real = 0.0;
  ASSERT_TRUE(gain.GetValueAsDouble(&real));
  EXPECT_DOUBLE_EQ(real, -12.0);
  int32_t wrongType = 0;
  EXPECT_FALSE(gain.GetValueAsInt32(&wrongType));

  gain.SetNormalizedValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(gain.GetNormalizedValue(), 0.0);
  gain.SetNormalizedValue(4.0);
  EXPECT_DOUBLE_EQ(gain.GetNormalizedValue(), 1.0);
}

TEST(AaxParameterManager, FindsByIdAndRefusesDuplicates) {
  AAX_CParameterManager manager;
  const AAX_CLinearTaperDelegate<int32_t> taper(0, 1);
  const AAX_CNumberDisplayDelegate<int32_t> display;
  EXPECT_TRUE(manager.AddParameter(new AAX_CParameter<int32_t>("1", "A", 0, taper, display, true)));
  EXPECT_TRUE(manager.AddParameter(new AAX_CParameter<int32_t>("2", "B", 0, taper, display, true)));
  EXPECT_FALSE(manager.AddParameter(new AAX_CParameter<int32_t>("1", "C", 0, taper, display, true)));
  EXPECT_FALSE(manager.AddParameter(nullptr));
  ASSERT_EQ(manager.NumParameters(), 2);
  EXPECT_STREQ(manager.GetParameterByID("2")->Name().Get(), "B");
  EXPECT_EQ(manager.GetParameterByID("3"), nullptr);
  EXPECT_EQ(manager.GetParameterByID(nullptr), nullptr);
  EXPECT_EQ(manager.GetParameter(2), nullptr);
  EXPECT_EQ(manager.GetParameterIndex("2"), 1);
}

}  // namespace
