// Values of the fifteen VSOP87D series functions: against an independent
// evaluation of the same series (tests/data/vsop87d_reference.txt, written by
// tools/gen_vsop87d.mjs), against the turn-by-turn lifting of the cosine
// arguments, and against published values of the positions.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "vsop87d.h"
#include "vsop87d_tables.h"

namespace {

constexpr double kRadToDeg = 57.29577951308232;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kEps = std::numeric_limits<double>::epsilon();
const double kTau1992 =
    (2448976.5 - 2451545) / 365250;  // 1992 December 20, 0h TT

struct Body {
  const char* name;
  double (*L)(double);
  double (*B)(double);
  double (*R)(double);
  const VsopSeries* l;
  const VsopSeries* b;
  const VsopSeries* r;
};

const Body kBodies[] = {
    {"earth", Learth, Bearth, Rearth, &vsop87d_earth_L, &vsop87d_earth_B,
     &vsop87d_earth_R},
    {"venus", Lvenus, Bvenus, Rvenus, &vsop87d_venus_L, &vsop87d_venus_B,
     &vsop87d_venus_R},
    {"mars", Lmars, Bmars, Rmars, &vsop87d_mars_L, &vsop87d_mars_B,
     &vsop87d_mars_R},
    {"jupiter", Ljupiter, Bjupiter, Rjupiter, &vsop87d_jupiter_L,
     &vsop87d_jupiter_B, &vsop87d_jupiter_R},
    {"saturn", Lsaturn, Bsaturn, Rsaturn, &vsop87d_saturn_L, &vsop87d_saturn_B,
     &vsop87d_saturn_R},
};

const Body* find_body(const std::string& name) {
  for (const Body& b : kBodies) {
    if (name == b.name) return &b;
  }
  return nullptr;
}

// The rounding budget of a series at tau, by which two evaluations of the
// same terms in different orders may differ: each of the n_k additions into
// S_k rounds by at most half an ulp of the running sum (at most eps M_k, M_k
// the sum of the amplitudes), summed like a random walk (sqrt(n_k)); each
// cosine argument C tau + B carries about eps (|C tau| + 2 pi) from its
// product and from its reduction by the double 2 pi instead of the true turn,
// weighted by its amplitude; a longitude's reduction into one turn adds
// eps (|V| + 2 pi).  Measured over the 70 reference dates, the largest
// difference is 0.43 of this budget for a longitude (Jupiter at tau -2.3),
// 0.17 for a latitude (Jupiter at tau -0.007) and 0.40 for a radius vector
// (Saturn at tau 0.024), so the budget errs on the generous side.  The tests
// allow twice the budget, more than four times the largest difference seen.
double rounding_budget(const VsopSeries& s, double tau, double v,
                       bool longitude) {
  double total = 0.0;
  double tk = 1.0;
  for (int k = 0; k < s.npowers; ++k) {
    double amplitudes = 0.0;
    double arguments = 0.0;
    for (int i = 0; i < s.powers[k].count; ++i) {
      const VsopTerm& t = s.powers[k].terms[i];
      amplitudes += t.A;
      arguments += t.A * (std::fabs(t.C * tau) + kTwoPi);
    }
    total +=
        tk * (std::sqrt(static_cast<double>(s.powers[k].count)) * amplitudes +
              arguments);
    tk *= std::fabs(tau);
  }
  if (longitude) total += std::fabs(v) + kTwoPi;
  return 2.0 * kEps * total;
}

struct Reference {
  double jde, tau;
  std::string body;
  double L, B, R;  // radians, radians, astronomical units
};

std::vector<Reference> read_reference() {
  std::vector<Reference> out;
  std::ifstream in(VSOP87D_REFERENCE_FILE);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream is(line);
    Reference r;
    if (is >> r.jde >> r.tau >> r.body >> r.L >> r.B >> r.R) out.push_back(r);
  }
  return out;
}

// The same sums, with every negative cosine argument lifted one turn at a time.
double value_by_turns(const VsopSeries& s, double tau) {
  double sum[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
  for (int k = 0; k < s.npowers; ++k) {
    double acc = 0.0;
    for (int i = 0; i < s.powers[k].count; ++i) {
      const VsopTerm& t = s.powers[k].terms[i];
      if (vsop_is_constant(t)) {
        acc = vsop_constant_subtracts(t) ? acc - t.A : acc + t.A;
        continue;
      }
      double x = t.C * tau;
      x = x + t.B;
      while (x < 0) x = x + kTwoPi;
      const double p = t.A * std::cos(x);
      acc = acc + p;
    }
    sum[k] = acc;
  }
  const double t2 = tau * tau, t3 = t2 * tau, t4 = t3 * tau, t5 = t4 * tau;
  const double tk[6] = {1.0, tau, t2, t3, t4, t5};
  double v = sum[1] * tau + sum[0];
  for (int k = 2; k < s.npowers; ++k) v = v + sum[k] * tk[k];
  return v;
}

TEST(VsopValues, AgreeWithIndependentEvaluation) {
  const std::vector<Reference> refs = read_reference();
  ASSERT_EQ(refs.size(), 70u) << "reference file " << VSOP87D_REFERENCE_FILE;
  for (const Reference& r : refs) {
    const Body* b = find_body(r.body);
    ASSERT_NE(b, nullptr) << r.body;
    const double vl = vsop87d_value(*b->l, r.tau);
    const double l = b->L(r.tau) / kRadToDeg;
    const double dl = std::remainder(l - r.L, kTwoPi);
    EXPECT_LE(std::fabs(dl), rounding_budget(*b->l, r.tau, vl, true))
        << r.body << " L at tau " << r.tau;
    const double vb = vsop87d_value(*b->b, r.tau);
    EXPECT_NEAR(b->B(r.tau) / kRadToDeg, r.B,
                rounding_budget(*b->b, r.tau, vb, false))
        << r.body << " B at tau " << r.tau;
    const double vr = vsop87d_value(*b->r, r.tau);
    EXPECT_NEAR(b->R(r.tau), r.R, rounding_budget(*b->r, r.tau, vr, false))
        << r.body << " R at tau " << r.tau;
  }
}

// For tau >= 0 no cosine argument is negative and nothing is lifted, so the
// evaluation is the published sequence of operations itself: the sums must
// agree to the last bit (a changed order of terms or of the combination, a
// Horner scheme or a fused multiply-add would show here).
TEST(VsopValues, ExactOrderOfOperations) {
  for (double tau : {0.0, 0.025, 0.2, 1.5}) {
    for (const Body& b : kBodies) {
      EXPECT_EQ(vsop87d_value(*b.l, tau), value_by_turns(*b.l, tau))
          << b.name << " L " << tau;
      EXPECT_EQ(vsop87d_value(*b.b, tau), value_by_turns(*b.b, tau))
          << b.name << " B " << tau;
      EXPECT_EQ(vsop87d_value(*b.r, tau), value_by_turns(*b.r, tau))
          << b.name << " R " << tau;
    }
  }
}

// One remainder in place of the additions of whole turns: the Earth's
// longitude moves by less than 1e-7 degree and Venus's by less than 1e-8
// degree even at the year -700; the sums of Mars by about 1e-11.
TEST(VsopValues, RemainderAgreesWithLiftingTurnByTurn) {
  for (double tau : {-2.7, -1.0, -0.2, kTau1992}) {
    EXPECT_NEAR(vsop87d_value(vsop87d_earth_L, tau),
                value_by_turns(vsop87d_earth_L, tau), 1e-7 / kRadToDeg)
        << tau;
    EXPECT_NEAR(vsop87d_value(vsop87d_venus_L, tau),
                value_by_turns(vsop87d_venus_L, tau), 1e-8 / kRadToDeg)
        << tau;
    for (const VsopSeries* s :
         {&vsop87d_mars_L, &vsop87d_mars_B, &vsop87d_mars_R}) {
      EXPECT_NEAR(vsop87d_value(*s, tau), value_by_turns(*s, tau), 3e-11)
          << tau;
    }
  }
}

// Published values, evaluated in the same order with the turn-by-turn
// lifting: the unreduced longitude V to 11 decimals, L and B in degrees to 9,
// R to 10.  The remainder form stays within the rounding of the last digit.
struct Published {
  double tau;
  double V, L, B, R;
};

TEST(VsopValues, JupiterPublished) {
  const Published cases[] = {
      {0.0, 0.63346141861, 36.294665770, -1.174569432, 4.9653813154},
      {kTau1992, -3.10345201269, 182.185297751, 1.291478743, 5.4467650364},
      {0.025, 13.93357602245, 78.335099611, -0.496350879, 5.0824863113},
      {-0.2, -105.28858054493, 87.408703852, -0.249849337, 5.1318457604},
      {0.2, 106.52921299175, 343.674299277, -1.131644062, 4.9866795974},
  };
  for (const Published& c : cases) {
    EXPECT_NEAR(vsop87d_value(vsop87d_jupiter_L, c.tau), c.V, 0.5e-11 + 1e-13)
        << c.tau;
    EXPECT_NEAR(Ljupiter(c.tau), c.L, 0.5e-9 + 1e-12) << c.tau;
    EXPECT_NEAR(Bjupiter(c.tau), c.B, 0.5e-9 + 1e-12) << c.tau;
    EXPECT_NEAR(Rjupiter(c.tau), c.R, 0.5e-10 + 1e-13) << c.tau;
  }
  for (double tau = -0.2; tau <= 0.2; tau += 0.001) {
    EXPECT_LE(std::fabs(Bjupiter(tau)), 1.315) << tau;
    const double r = Rjupiter(tau);
    EXPECT_TRUE(r > 4.947 && r < 5.458) << tau << " " << r;
  }
}

TEST(VsopValues, SaturnLongitudePublished) {
  const Published cases[] = {
      {0.0, 0.79800387613, 45.722254137, 0, 0},
      {kTau1992, -0.71002773278, 319.318407575, 0, 0},
      {0.025, 6.10474647468, 349.776207997, 0, 0},
      {-0.2, -41.78662941438, 125.802494479, 0, 0},
      {0.2, 43.49977328766, 332.353419159, 0, 0},
  };
  for (const Published& c : cases) {
    EXPECT_NEAR(vsop87d_value(vsop87d_saturn_L, c.tau), c.V, 0.5e-11 + 1e-13)
        << c.tau;
    EXPECT_NEAR(Lsaturn(c.tau), c.L, 0.5e-9 + 1e-12) << c.tau;
  }
}

// Mars to three significant digits; its latitude (within about 1.85 degrees)
// and distance over the years 1700 to 2300.
TEST(VsopValues, MarsPublished) {
  EXPECT_NEAR(360.0 - Lmars(0.0), 0.553, 0.0005);
  EXPECT_NEAR(Bmars(0.0), -1.42, 0.005);
  EXPECT_NEAR(Rmars(0.0), 1.39, 0.005);
  EXPECT_NEAR(Lmars(-0.1), 286.0, 0.5);
  EXPECT_NEAR(Bmars(-0.1), -1.56, 0.005);
  EXPECT_NEAR(Rmars(-0.1), 1.42, 0.005);
  EXPECT_NEAR(Lmars(0.1), 67.8, 0.05);
  EXPECT_NEAR(Bmars(0.1), 0.557, 0.0005);
  EXPECT_NEAR(Rmars(0.1), 1.51, 0.005);
  for (double tau = -0.3; tau <= 0.3; tau += 0.001) {
    EXPECT_LT(std::fabs(Bmars(tau)), 1.855) << tau;  // "about 1.85"
    const double r = Rmars(tau);
    EXPECT_TRUE(r > 1.38 && r < 1.67) << tau << " " << r;
  }
}

// The Earth's longitude is lifted from below only: never negative, beyond
// 360 degrees from the autumn of 2000 on, and then the longitude modulo 360.
TEST(VsopValues, EarthLongitudeIsLiftedNotReduced) {
  EXPECT_LT(Learth(0.0), 360.0);
  EXPECT_GT(Learth(0.0), 99.0);  // about 100.4 degrees at J2000.0
  const double tau2024 = 24.0 * 365.25 / 365250;
  const double l = Learth(tau2024);
  EXPECT_GT(l, 360.0 * 24);
  EXPECT_NEAR(std::fmod(l, 360.0), std::fmod(100.4, 360.0), 1.0);
  for (double tau = -2.7; tau < 0.0; tau += 0.01)
    EXPECT_GE(Learth(tau), 0.0) << tau;
}

// Finite for every date of the span -700 to 3500 (tau -2.7 to +1.5), the
// planets' longitudes within one turn.
TEST(VsopValues, FiniteAndInRangeOverTheSpan) {
  for (double tau = -2.7; tau <= 1.5 + 1e-9; tau += 0.0125) {
    for (const Body& b : kBodies) {
      const double l = b.L(tau);
      EXPECT_TRUE(std::isfinite(l) && std::isfinite(b.B(tau)) &&
                  std::isfinite(b.R(tau)))
          << b.name << " " << tau;
      if (b.L != Learth) {
        EXPECT_TRUE(l >= 0.0 && l <= 360.0) << b.name << " " << tau << " " << l;
      }
      EXPECT_LT(std::fabs(b.B(tau)), 10.0) << b.name << " " << tau;
      EXPECT_GT(b.R(tau), 0.7) << b.name << " " << tau;
    }
  }
}

// NaN and infinite arguments give NaN from every function and end at once.
TEST(VsopValues, NotANumberPassesThrough) {
  for (double tau : {std::nan(""), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()}) {
    for (const Body& b : kBodies) {
      EXPECT_TRUE(std::isnan(b.L(tau))) << b.name << " " << tau;
      EXPECT_TRUE(std::isnan(b.B(tau))) << b.name << " " << tau;
      EXPECT_TRUE(std::isnan(b.R(tau))) << b.name << " " << tau;
    }
  }
}

}  // namespace
