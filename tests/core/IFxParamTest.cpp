#include "core/IFxParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string Format(const IFxParam& param, double value, bool normalized = false,
                   bool namedValues = true) {
  char text[64];
  param.FormatValue(value, normalized, text, sizeof(text), namedValues);
  return text;
}

std::string Current(const IFxParam& param) {
  char text[64];
  param.FormatCurrent(text, sizeof(text));
  return text;
}

TEST(IFxParamSetup, BlankParameter) {
  IFxParam param;
  EXPECT_EQ(param.Kind(), ParamKindNone);
  EXPECT_EQ(param.Min(), 0.0);
  EXPECT_EQ(param.Max(), 1.0);
  EXPECT_EQ(param.Step(), 1.0);
  EXPECT_EQ(param.Shape(), 1.0);
  EXPECT_TRUE(param.CanAutomate());
  EXPECT_STREQ(param.Name(), "");
}

TEST(IFxParamSetup, BoolIsATenthsStepSwitchWithOffAndOn) {
  IFxParam param;
  param.SetupBool("Mute", true);
  EXPECT_EQ(param.Kind(), ParamKindBool);
  EXPECT_EQ(param.Min(), 0.0);
  EXPECT_EQ(param.Max(), 1.0);
  EXPECT_EQ(param.Step(), 0.1);
  EXPECT_EQ(param.Precision(), 1);
  EXPECT_EQ(param.Value(), 1.0);
  EXPECT_EQ(param.Default(), 1.0);
  ASSERT_EQ(param.NamedValueCount(), 2);
  EXPECT_STREQ(param.NamedValueText(0), "off");
  EXPECT_STREQ(param.NamedValueText(1), "on");
  EXPECT_EQ(Current(param), "on");
  param.SetValue(0.3);
  EXPECT_EQ(Current(param), "off");
}

TEST(IFxParamSetup, EnumRangeAndSingleEntryEnum) {
  IFxParam four;
  four.SetupEnum("Channel Selector", 2, 4);
  EXPECT_EQ(four.Kind(), ParamKindEnum);
  EXPECT_EQ(four.Max(), 3.0);
  EXPECT_EQ(four.Value(), 2.0);

  IFxParam one;
  one.SetupEnum("Only", 0, 1);
  EXPECT_DOUBLE_EQ(one.Max(), 0.1);  // count - 1 = 0 is below min + step
}

TEST(IFxParamSetup, DoubleRaisesMaxAndIgnoresZeroShape) {
  IFxParam param;
  param.SetupDouble("Odd", 5.0, 10.0, 10.5, 1.0, "u", "cat", 0.0);
  EXPECT_EQ(param.Kind(), ParamKindDouble);
  EXPECT_EQ(param.Max(), 11.0);
  EXPECT_EQ(param.Shape(), 1.0);
  EXPECT_STREQ(param.Label(), "u");
  EXPECT_STREQ(param.Category(), "cat");
}

TEST(IFxParamSetup, FirstSetupFixesTheKind) {
  IFxParam param;
  param.SetupBool("Switch", false);
  param.SetupDouble("Now continuous?", 0.0, 0.0, 10.0, 1.0);
  EXPECT_EQ(param.Kind(), ParamKindBool);
}

TEST(IFxParamSetup, PrecisionFromStep) {
  const struct {
    double step;
    int precision;
  } cases[] = {{1.0, 0}, {0.1, 1}, {0.25, 2}, {100.0, 0}, {0.0000001, 6}, {0.001, 3}};
  for (const auto& c : cases) {
    IFxParam param;
    param.SetupDouble("p", 0.0, 0.0, 1000.0, c.step);
    EXPECT_EQ(param.Precision(), c.precision) << "step " << c.step;
  }
}

TEST(IFxParamSetup, LongTextsAreTruncatedTo31Characters) {
  const std::string longText(40, 'x');
  IFxParam param;
  param.SetupDouble(longText.c_str(), 0.0, 0.0, 1.0, 0.1, longText.c_str(), longText.c_str());
  param.AddNamedValue(7, longText.c_str());
  EXPECT_EQ(std::string(param.Name()), std::string(31, 'x'));
  EXPECT_EQ(std::string(param.Label()), std::string(31, 'x'));
  EXPECT_EQ(std::string(param.Category()), std::string(31, 'x'));
  EXPECT_EQ(std::string(param.NamedValueText(7)), std::string(31, 'x'));
}

struct NormalizedCase {
  const char* what;
  ParamKind kind;
  double min, max, step, shape, normalized, expected;
};

TEST(IFxParamValues, SetFromNormalizedQuantisesByKind) {
  const NormalizedCase cases[] = {
      {"continuous top", ParamKindDouble, -60, 60, 0.1, 1, 1.0, 60.0},
      {"continuous step 100 not quantised", ParamKindDouble, 100, 1000, 100, 1, 0.5, 550.0},
      {"continuous step 1 rounds half away from zero", ParamKindDouble, -100, 100, 1, 1, 0.6025,
       21.0},
      {"shaped curve", ParamKindDouble, 0, 100, 0.1, 2, 0.5, 25.0},
      {"switch tenths", ParamKindBool, 0, 1, 0.1, 1, 0.26, std::floor(2.6 + 0.5) * 0.1},
      {"enum of 17 in tenths", ParamKindEnum, 0, 16, 0.1, 1, 0.51,
       std::floor(81.6 + 0.5) * 0.1},
      {"below range clamps to min", ParamKindDouble, -60, 60, 0.1, 1, -0.5, -60.0},
      {"above range clamps to max", ParamKindDouble, -60, 60, 0.1, 1, 1.5, 60.0},
  };
  for (const NormalizedCase& c : cases) {
    IFxParam param;
    if (c.kind == ParamKindBool) {
      param.SetupBool("p", false);
    } else if (c.kind == ParamKindEnum) {
      param.SetupEnum("p", 0, static_cast<int>(c.max) + 1);
    } else {
      param.SetupDouble("p", c.min, c.min, c.max, c.step, "", "", c.shape);
    }
    param.SetFromNormalized(c.normalized);
    EXPECT_DOUBLE_EQ(param.Value(), c.expected) << c.what;
  }
}

TEST(IFxParamValues, SwitchFromQuarterHoldsThreeTenthsExactly) {
  IFxParam param;
  param.SetupBool("p", false);
  param.SetFromNormalized(0.26);
  EXPECT_EQ(param.Value(), 0.30000000000000004);
  EXPECT_FALSE(param.IsOn());
}

TEST(IFxParamValues, NanNormalizedValueNeverPoisonsTheParameter) {
  IFxParam param;
  param.SetupDouble("p", 0.0, -60.0, 60.0, 0.1);
  param.SetFromNormalized(std::nan(""));
  EXPECT_EQ(param.Value(), -60.0);
}

TEST(IFxParamValues, ValueToNormalizedClampsAndInvertsTheCurve) {
  IFxParam param;
  param.SetupDouble("p", 0.0, 0.0, 100.0, 0.1, "", "", 2.0);
  EXPECT_EQ(param.ValueToNormalized(150.0), 1.0);
  EXPECT_EQ(param.ValueToNormalized(-5.0), 0.0);
  EXPECT_DOUBLE_EQ(param.ValueToNormalized(25.0), 0.5);
  EXPECT_DOUBLE_EQ(param.NormalizedToValue(param.ValueToNormalized(36.0)), 36.0);
  EXPECT_EQ(param.ValueToNormalized(std::nan("")), 0.0);
}

TEST(IFxParamValues, DegenerateRangeGivesZeroNotNan) {
  IFxParam param;
  param.SetupDouble("p", 3.0, 3.0, 3.0, 0.0);
  EXPECT_EQ(param.ValueToNormalized(3.0), 0.0);
}

TEST(IFxParamValues, ClampToRange) {
  IFxParam param;
  param.SetupDouble("p", 0.0, -1.0, 1.0, 0.1);
  EXPECT_EQ(param.ClampToRange(5.0), 1.0);
  EXPECT_EQ(param.ClampToRange(-5.0), -1.0);
  EXPECT_EQ(param.ClampToRange(std::nan("")), -1.0);
  EXPECT_EQ(param.ClampToRange(INFINITY), 1.0);
  EXPECT_EQ(param.ClampToRange(0.5), 0.5);
}

TEST(IFxParamText, FormatValueTable) {
  IFxParam integer;
  integer.SetupDouble("p", 0.0, -100.0, 100.0, 1.0);
  IFxParam tenths;
  tenths.SetupDouble("p", 0.0, -60.0, 60.0, 0.1);
  const struct {
    const IFxParam* param;
    double value;
    const char* expected;
  } cases[] = {
      {&integer, 2.9, "2"},   {&integer, -0.4, "0"},     {&integer, -2.9, "-2"},
      {&tenths, -0.4, "-0.4"}, {&tenths, 0.25, "0.2"},   {&tenths, 0.35, "0.3"},
      {&tenths, 12.0, "12.0"}, {&integer, 1e12, "2147483647"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Format(*c.param, c.value), c.expected) << c.value;
  }
  // A normalised value is mapped without quantisation.
  EXPECT_EQ(Format(tenths, 0.75, true), "30.0");
}

TEST(IFxParamText, NamedValuesAndTheirFallbacks) {
  IFxParam param;
  param.SetupEnum("Mode", 0, 3, "unit");
  param.AddNamedValue(0, "Peak");
  param.AddNamedValue(1, "");
  param.AddNamedValue(1, "never reached");
  param.AddNamedValue(2, "RMS");

  EXPECT_EQ(Format(param, 0.0), "Peak");
  EXPECT_EQ(Format(param, 2.7), "RMS");          // truncated to 2
  EXPECT_EQ(Format(param, 1.0), "1.0");          // empty text falls back to the number
  EXPECT_EQ(Format(param, 0.0, false, false), "0.0");

  param.SetValue(0.0);
  EXPECT_STREQ(param.DisplayLabel(), "");
  param.SetValue(1.0);
  EXPECT_STREQ(param.DisplayLabel(), "unit");
  EXPECT_STREQ(param.NamedValueText(5), "");
  ASSERT_NE(param.NamedValueAt(3), nullptr);
  EXPECT_STREQ(param.NamedValueAt(3)->text, "RMS");
  EXPECT_EQ(param.NamedValueAt(4), nullptr);
}

TEST(IFxParamText, NegatedDisplayShowsAndReadsTheSignReversed) {
  IFxParam param;
  param.SetupDouble("p", 0.0, -10.0, 10.0, 0.1);
  param.SetNegatedDisplay(true);
  EXPECT_EQ(Format(param, 2.5), "-2.5");
  double value = 0.0;
  ASSERT_TRUE(param.ValueFromText("3.5", &value));
  EXPECT_EQ(value, -3.5);
}

TEST(IFxParamText, FormatValueTruncatesToTheBuffer) {
  IFxParam param;
  param.SetupDouble("p", 0.0, 0.0, 100000.0, 0.1);
  char text[4];
  param.FormatValue(12345.6, false, text, sizeof(text), true);
  EXPECT_STREQ(text, "123");
}

TEST(IFxParamText, ValueFromText) {
  IFxParam selector;
  selector.SetupEnum("Sel", 0, 4);
  selector.AddNamedValue(0, "LR");
  selector.AddNamedValue(3, "RL");
  IFxParam gain;
  gain.SetupDouble("Gain", 0.0, -60.0, 60.0, 0.1, "dB");

  const struct {
    const IFxParam* param;
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {&selector, "RL", true, 3.0},    {&selector, "rl", false, 0.0},
      {&selector, "3", false, 0.0},    {&gain, "-12.5 dB", true, -12.5},
      {&gain, "abc", true, 0.0},       {&gain, "nan", false, 0.0},
      {&gain, "1e999", false, 0.0},    {&gain, nullptr, false, 0.0},
      {&gain, "99", true, 99.0},  // not clamped: the caller clamps
  };
  for (const auto& c : cases) {
    double value = 0.0;
    EXPECT_EQ(c.param->ValueFromText(c.text, &value), c.ok) << (c.text ? c.text : "null");
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(IFxParamCopy, CopyIsIndependent) {
  IFxParam original;
  original.SetupEnum("Sel", 1, 2);
  original.AddNamedValue(0, "A");
  IFxParam copy = original;
  copy.AddNamedValue(1, "B");
  copy.SetValue(0.0);
  EXPECT_EQ(original.NamedValueCount(), 1);
  EXPECT_EQ(original.Value(), 1.0);
  EXPECT_EQ(copy.NamedValueCount(), 2);
  EXPECT_STREQ(copy.Name(), "Sel");
  EXPECT_EQ(copy.Max(), original.Max());
}

}  // namespace
