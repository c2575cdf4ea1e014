// Sunrise and sunset: dates and places whose times, azimuths and twilight
// are known, the polar night and the midnight sun, a sunset on the next UT
// day, and inputs far outside the ordinary.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "suntime.h"

namespace {

struct Sun {
  int rise_h, rise_m, set_h, set_m, rise_az, set_az, twilight;
  bool operator==(const Sun&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Sun& s) {
  return os << "rise " << s.rise_h << "h" << s.rise_m << "m(" << s.rise_az
            << ") set " << s.set_h << "h" << s.set_m << "m(" << s.set_az
            << ") D~" << s.twilight;
}

Sun sun(int y, int m, int d, double lon, double lat) {
  Sun s{};
  suntime(y, m, d, lon, lat, &s.rise_h, &s.rise_m, &s.set_h, &s.set_m,
          &s.rise_az, &s.set_az, &s.twilight);
  return s;
}

TEST(Suntime, KnownDatesAndPlaces) {
  struct Case {
    int y, m, d;
    double lon, lat;
    Sun want;
    const char* what;
  };
  const Case cases[] = {
      {2017,
       6,
       17,
       -(17 + 11.6 / 60),
       44 + 46.99 / 60,
       {5, 21, 20, 56, 56, 304, 40},
       "summer in the North Atlantic"},
      {2022, 3, 20, 0, 0, {6, 3, 18, 9, 90, 270, 20}, "equinox on the equator"},
      {2022, 12, 21, 0, 80, {0, 0, 0, 0, 180, 180, 84}, "polar night"},
      {2022, 6, 21, 10, 70, {0, 0, 0, 0, 0, 360, 69}, "midnight sun"},
      {2022,
       6,
       21,
       -150,
       10,
       {15, 39, 4, 22, 66, 294, 21},
       "sunset on the next UT day"},
      // A sunrise in the first hour of the UT day: the twilight still grows
      // with the latitude.
      {2022, 3, 20, 90, 0, {0, 3, 12, 9, 90, 270, 20}, "sunrise at 0 h"},
      {2022,
       3,
       20,
       90,
       30,
       {0, 2, 12, 10, 90, 270, 29},
       "sunrise at 0 h, 30 N"},
      {2022,
       6,
       21,
       10,
       -70,
       {0, 0, 0, 0, 0, 360, 69},
       "polar night in the south"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(sun(c.y, c.m, c.d, c.lon, c.lat), c.want) << c.what;
}

TEST(Suntime, LatitudeHeldShortOfThePoles) {
  EXPECT_EQ(sun(2022, 6, 21, 10, 90), sun(2022, 6, 21, 10, 89.99));
  EXPECT_EQ(sun(2022, 6, 21, 10, 1e300), sun(2022, 6, 21, 10, 89.99));
  EXPECT_EQ(sun(2022, 12, 21, 10, -90), sun(2022, 12, 21, 10, -89.99));
  // 0.01 x 89.99^2 + 20 minutes.
  EXPECT_EQ(sun(2022, 6, 21, 10, 90).twilight, 100);
}

// Values within their ranges (NaN turned into 0 by the conversions).
void expect_in_range(const Sun& s) {
  EXPECT_TRUE(s.rise_h >= 0 && s.rise_h <= 24) << s;
  EXPECT_TRUE(s.set_h >= 0 && s.set_h <= 24) << s;
  EXPECT_TRUE(s.rise_m >= 0 && s.rise_m < 60) << s;
  EXPECT_TRUE(s.set_m >= 0 && s.set_m < 60) << s;
  EXPECT_TRUE(s.rise_az >= 0 && s.rise_az <= 180) << s;
  EXPECT_EQ(s.set_az, 360 - s.rise_az) << s;
  EXPECT_TRUE(s.twilight >= 0 && s.twilight <= 100) << s;
}

TEST(Suntime, OutlandishInputsEndWithValuesInRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  expect_in_range(sun(2022, 3, 20, nan, 10));
  expect_in_range(sun(2022, 3, 20, inf, 10));
  expect_in_range(sun(2022, 3, 20, -1e300, 10));
  expect_in_range(sun(2022, 3, 20, 10, -inf));
  const Sun n = sun(2022, 3, 20, 10, nan);
  expect_in_range(n);
  EXPECT_EQ(n.twilight, 0);
  // Dates far from J2000: thousands, then millions and hundreds of millions
  // of years, where the mean anomaly runs through that many turns.
  for (int year : {-4712, 5999, 100000, 1000000, 3000000, -3000000, 200000000,
                   -200000000, INT_MAX, INT_MIN})
    expect_in_range(sun(year, 6, 21, 10, 45));
  // Day and month fields beyond their ranges go through the calendar.
  expect_in_range(sun(2022, 14, 40, 10, 45));
}

TEST(Suntime, FarDatesKeepTheSeasons) {
  // Year 5999: still a long day at the June solstice in 60 N.
  const Sun s = sun(5999, 6, 21, 0, 60);
  EXPECT_GT((s.set_h + s.set_m / 60.0) - (s.rise_h + s.rise_m / 60.0), 15) << s;
  EXPECT_LT(s.rise_az, 50) << s;
}

}  // namespace
