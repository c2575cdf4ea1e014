// The compiled VSOP87D tables: terms per power, and the place and sign of each
// constant term, against the published series; invariants of every term.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "vsop87d_tables.h"

namespace {

struct Constant {
  int power;
  int position;  // from 1 within its power
  char sign;     // '+' added, '-' subtracted
  double A;
};

struct SeriesCase {
  const char* name;
  const VsopSeries* series;
  std::vector<int> counts;  // terms per power
  std::vector<Constant>
      constants;  // every constant term; other powers have none
};

void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.name; }

const std::vector<SeriesCase>& cases() {
  static const std::vector<SeriesCase> c = {
      {"Learth",
       &vsop87d_earth_L,
       {559, 341, 142, 22, 11, 5},
       {{0, 1, '+', 1.75347045673},
        {1, 1, '+', 6283.31966747491},
        {2, 1, '+', 0.0005291887},
        {3, 2, '+', 0.00000034955},
        {4, 1, '-', 0.00000114084},
        {5, 1, '-', 0.00000000878}}},
      {"Bearth",
       &vsop87d_earth_B,
       {184, 99, 49, 11, 5},
       {{0, 61, '-', 0.00000001039}, {1, 44, '+', 0.00000000143}}},
      {"Rearth",
       &vsop87d_earth_R,
       {526, 292, 139, 27, 10, 3},
       {{0, 1, '+', 1.00013988799},
        {1, 3, '-', 0.00000702215},
        {2, 3, '-', 0.00000012341},
        {3, 3, '+', 0.00000000774}}},
      {"Lvenus",
       &vsop87d_venus_L,
       {367, 215, 70, 9, 5, 5},
       {{0, 1, '+', 3.17614666774},
        {1, 1, '+', 10213.52943052898},
        {2, 1, '+', 0.00054127076},
        {3, 3, '+', 0.00000026023},
        {4, 1, '-', 0.00000114016},
        {5, 1, '-', 0.00000000874}}},
      {"Bvenus",
       &vsop87d_venus_B,
       {210, 133, 59, 15, 5, 4},
       {{0, 3, '-', 0.00032814918},
        {1, 4, '+', 0.00000199162},
        {2, 2, '+', 0.00000281739},
        {3, 2, '-', 0.00000019952},
        {4, 4, '-', 0.00000000214},
        {5, 2, '+', 0.00000000039}}},
      {"Rvenus",
       &vsop87d_venus_R,
       {330, 180, 63, 7, 3, 2},
       {{0, 1, '+', 0.72334820905},
        {1, 3, '-', 0.00000233998},
        {2, 3, '+', 0.00000013059},
        {3, 3, '-', 0.00000000112},
        {4, 3, '-', 0.00000000006}}},
      {"Lmars",
       &vsop87d_mars_L,
       {1217, 686, 310, 129, 36, 15},
       {{0, 1, '+', 6.20347711583},
        {1, 1, '+', 3340.85627474342},
        {2, 2, '+', 0.00054187645},
        {3, 6, '+', 2.5994e-07},
        {4, 1, '-', 1.13969e-06},
        {5, 2, '-', 8.68e-09}}},
      {"Bmars",
       &vsop87d_mars_B,
       {441, 287, 130, 41, 11, 5},
       {{0, 3, '+', 0.00289104742},
        {1, 2, '-', 0.0001411603},
        {2, 2, '-', 4.986799e-05},
        {3, 2, '+', 4.2611e-07},
        {4, 2, '+', 1.3369e-07},
        {5, 5, '+', 7e-11}}},
      {"Rmars",
       &vsop87d_mars_R,
       {1118, 596, 313, 111, 28, 9},
       {{0, 1, '+', 1.53033488276},
        {1, 3, '+', 0.000128772},
        {2, 6, '-', 5.2396e-07},
        {3, 6, '-', 4.693e-08},
        {4, 9, '+', 1.48e-09},
        {5, 9, '-', 1.2e-10}}},
      {"Ljupiter",
       &vsop87d_jupiter_L,
       {760, 369, 191, 109, 45, 10},
       {{0, 1, '+', 0.59954691495},
        {1, 1, '+', 529.93480757497},
        {2, 3, '+', 0.0003896555},
        {3, 9, '+', 4.4378e-07},
        {4, 3, '-', 1.14019e-06},
        {5, 7, '-', 8.45e-09}}},
      {"Bjupiter",
       &vsop87d_jupiter_B,
       {249, 141, 81, 42, 12, 5},
       {{0, 3, '+', 0.00110090358},
        {1, 5, '-', 1.694232e-05},
        {2, 3, '-', 8.13244e-06},
        {3, 9, '-', 2.798e-08},
        {4, 4, '+', 3.422e-08}}},
      {"Rjupiter",
       &vsop87d_jupiter_R,
       {745, 381, 190, 98, 46, 9},
       {{0, 1, '+', 5.20887429471},
        {1, 5, '+', 0.00041390257},
        {2, 11, '-', 4.9792e-06},
        {3, 8, '-', 8.9729e-07},
        {4, 22, '+', 1.697e-08}}},
      {"Lsaturn",
       &vsop87d_saturn_L,
       {1152, 642, 321, 148, 68, 27},
       {{0, 1, '+', 0.87401354029},
        {1, 1, '+', 213.54295595986},
        {2, 3, '+', 0.00090592251},
        {3, 38, '-', 3.701e-08},
        {4, 6, '-', 1.13953e-06},
        {5, 15, '-', 1.007e-08}}},
      {"Bsaturn",
       &vsop87d_saturn_B,
       {500, 260, 111, 58, 26, 11},
       {{0, 3, '+', 0.00084745939},
        {1, 2, '-', 0.00049478641},
        {2, 4, '+', 1.346067e-05},
        {3, 3, '+', 3.98051e-06},
        {4, 4, '-', 1.1844e-07},
        {5, 4, '-', 9.67e-09}}},
      {"Rsaturn",
       &vsop87d_saturn_R,
       {1205, 639, 342, 157, 64, 28},
       {{0, 1, '+', 9.55758135801},
        {1, 5, '-', 0.0018626154},
        {2, 14, '+', 2.326801e-05},
        {3, 11, '+', 3.93174e-06},
        {4, 25, '-', 9.552e-08},
        {5, 22, '+', 1.678e-08}}},
  };
  return c;
}

class VsopTables : public testing::TestWithParam<SeriesCase> {};

TEST_P(VsopTables, CountsPerPower) {
  const SeriesCase& c = GetParam();
  ASSERT_EQ(c.series->npowers, static_cast<int>(c.counts.size()));
  for (int k = 0; k < c.series->npowers; ++k) {
    EXPECT_EQ(c.series->powers[k].count, c.counts[k])
        << c.name << " power " << k;
  }
}

TEST_P(VsopTables, ConstantTermsAtTheirPlacesWithTheirSigns) {
  const SeriesCase& c = GetParam();
  std::vector<Constant> found;
  for (int k = 0; k < c.series->npowers; ++k) {
    const VsopPower& p = c.series->powers[k];
    for (int i = 0; i < p.count; ++i) {
      if (vsop_is_constant(p.terms[i])) {
        found.push_back({k, i + 1,
                         vsop_constant_subtracts(p.terms[i]) ? '-' : '+',
                         p.terms[i].A});
      }
    }
  }
  ASSERT_EQ(found.size(), c.constants.size()) << c.name;
  for (std::size_t j = 0; j < found.size(); ++j) {
    EXPECT_EQ(found[j].power, c.constants[j].power) << c.name;
    EXPECT_EQ(found[j].position, c.constants[j].position)
        << c.name << " power " << found[j].power;
    EXPECT_EQ(found[j].sign, c.constants[j].sign)
        << c.name << " power " << found[j].power;
    EXPECT_EQ(found[j].A, c.constants[j].A)
        << c.name << " power " << found[j].power;
  }
}

// Positive amplitudes, phases within one turn, positive frequencies; a
// constant term's phase is exactly 0 or the published pi, whose cosine is -1.
TEST_P(VsopTables, EveryTermIsWellFormed) {
  const SeriesCase& c = GetParam();
  for (int k = 0; k < c.series->npowers; ++k) {
    const VsopPower& p = c.series->powers[k];
    for (int i = 0; i < p.count; ++i) {
      const VsopTerm& t = p.terms[i];
      const std::string where = std::string(c.name) + " power " +
                                std::to_string(k) + " #" +
                                std::to_string(i + 1);
      EXPECT_GT(t.A, 0.0) << where;
      EXPECT_GE(t.B, 0.0) << where;
      EXPECT_LT(t.B, 6.283185307179586) << where;
      EXPECT_GE(t.C, 0.0) << where;
      if (vsop_is_constant(t)) {
        EXPECT_TRUE(t.B == 0.0 || t.B == 3.14159265359) << where;
        EXPECT_EQ(std::cos(t.B), t.B == 0.0 ? 1.0 : -1.0) << where;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllSeries, VsopTables, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<SeriesCase>& i) {
                           return std::string(i.param.name);
                         });

}  // namespace
