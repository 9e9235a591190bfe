// The shaped taper the AAX adapter gives continuous parameters maps exactly
// as the framework's parameter does, both ways, and a copy keeps its range.

#include <gtest/gtest.h>

#include <memory>

#include "adapters/aax/AAX_CIFxTaperDelegate.h"
#include "core/IFxParam.h"

namespace {

TEST(AaxIFxTaper, MapsAsTheFrameworkParameter) {
  const struct {
    double min, max, shape;
  } ranges[] = {{-60.0, 60.0, 1.0}, {100.0, 1000.0, 2.0}, {0.0, 200.0, 0.5}, {-1.0, 3.0, 3.0}};
  for (const auto& r : ranges) {
    SCOPED_TRACE(r.shape);
    IFxParam param;
    param.SetupDouble("p", r.min, r.min, r.max, 0.001, "", "", r.shape);
    const AAX_CIFxTaperDelegate<double> original(r.min, r.max, r.shape);
    const std::unique_ptr<AAX_ITaperDelegate<double>> taper(original.Clone());
    EXPECT_EQ(taper->GetMinimumValue(), r.min);
    EXPECT_EQ(taper->GetMaximumValue(), r.max);
    for (double x = 0.0; x <= 1.0; x += 0.125) {
      EXPECT_DOUBLE_EQ(taper->NormalizedToReal(x), param.NormalizedToValue(x)) << x;
      const double real = r.min + x * (r.max - r.min);
      EXPECT_DOUBLE_EQ(taper->RealToNormalized(real), param.ValueToNormalized(real)) << real;
    }
    // Outside the range both ways is held at its ends.
    EXPECT_EQ(taper->NormalizedToReal(1.5), r.max);
    EXPECT_EQ(taper->NormalizedToReal(-0.5), r.min);
    EXPECT_EQ(taper->RealToNormalized(r.max + 10.0), 1.0);
    EXPECT_EQ(taper->RealToNormalized(r.min - 10.0), 0.0);
  }
}

}  // namespace
