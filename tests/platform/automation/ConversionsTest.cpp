#include "automation/Conversions.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include <functional>
#include <limits>

#include "automation/Error.h"

namespace {

using testsupport::errorOf;

using namespace automation;

TEST(Conversions, CIntAndCLngRoundHalvesToEven) {
  struct Case {
    double in;
    int32_t out;
  };
  for (const Case c : {Case{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2},
                       {2.4999, 2}, {2.5001, 3}, {-0.4, 0}}) {
    EXPECT_EQ(CInt(c.in), c.out) << c.in;
    EXPECT_EQ(CLng(c.in), c.out) << c.in;
  }
  EXPECT_EQ(CLng("  2.5 "), 2);
  EXPECT_EQ(CLng("3.5"), 4);
  EXPECT_EQ(CInt(Date(1.5)), 2);
}

TEST(Conversions, ResultsOutOfRangeOverflow) {
  EXPECT_EQ(errorOf([] { CInt(40000); }), vbErrOverflow);
  EXPECT_EQ(errorOf([] { CInt(32767.5); }), vbErrOverflow);  // rounds to 32768
  EXPECT_EQ(CInt(-32768.5), -32768);                         // rounds to the even -32768
  EXPECT_EQ(CInt(32767), 32767);
  EXPECT_EQ(errorOf([] { CLng(2147483647.5); }), vbErrOverflow);
  EXPECT_EQ(CLng(-2147483648.0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(errorOf([] { CLng("1E10"); }), vbErrOverflow);
  EXPECT_EQ(errorOf([] { CByte(-1); }), vbErrOverflow);
  EXPECT_EQ(errorOf([] { CByte(255.5); }), vbErrOverflow);  // rounds to 256
  EXPECT_EQ(CByte(254.5), 254);
  EXPECT_EQ(errorOf([] { CDbl("1E400"); }), vbErrOverflow);
  EXPECT_EQ(CDbl("1E-400"), 0.0);
  EXPECT_EQ(errorOf([] { CDate(1e10); }), vbErrOverflow);
}

TEST(Conversions, NumberTextFollowsEnUsRules) {
  struct Case {
    const char* text;
    double value;
  };
  for (const Case c : {Case{"42", 42}, {" -17 ", -17}, {"+3", 3}, {"1.5E-07", 1.5e-7}, {"2e3", 2000},
                       {"1D2", 100}, {".5", 0.5}, {"5.", 5}, {"1,000.25", 1000.25}, {"-0", 0}}) {
    const auto parsed = parseNumber(c.text);
    ASSERT_TRUE(parsed) << c.text;
    EXPECT_DOUBLE_EQ(*parsed, c.value) << c.text;
  }
  for (const char* text : {"", " ", "abc", ".", "-", "1e", "1e+", "1 2", "12abc", "1.2.3", ",5",
                           "5,", "--1", "0x10", "inf", "nan", "1,,000"}) {
    EXPECT_FALSE(parseNumber(text)) << text;
    EXPECT_EQ(errorOf([&] { CLng(text); }), vbErrTypeMismatch) << text;
  }
}

TEST(Conversions, TypesConvertAsVbDoes) {
  EXPECT_EQ(CInt(true), -1);
  EXPECT_EQ(CLng(false), 0);
  EXPECT_EQ(CDbl(true), -1.0);
  EXPECT_EQ(CLng(Variant()), 0);
  EXPECT_EQ(CDbl(Variant()), 0.0);
  EXPECT_EQ(CStr(Variant()), "");
  EXPECT_FALSE(CBool(Variant()));
  EXPECT_EQ(CLng(uint8_t{200}), 200);
  EXPECT_EQ(CDbl(Date::fromParts(2026, 12, 4, 18)), 46360.75);

  EXPECT_TRUE(CBool(2));
  EXPECT_TRUE(CBool(-0.5));
  EXPECT_FALSE(CBool(0.0));
  EXPECT_TRUE(CBool("true"));
  EXPECT_FALSE(CBool(" FALSE "));
  EXPECT_TRUE(CBool("1"));
  EXPECT_FALSE(CBool("0"));
  EXPECT_EQ(errorOf([] { CBool("yes"); }), vbErrTypeMismatch);

  for (auto convert : std::vector<std::function<void()>>{
           [] { CInt(Variant::null()); }, [] { CLng(Variant::null()); }, [] { CDbl(Variant::null()); },
           [] { CStr(Variant::null()); }, [] { CBool(Variant::null()); }, [] { CDate(Variant::null()); }})
    EXPECT_EQ(errorOf(convert), 94);
  EXPECT_EQ(Error::vb(94).description(), "Invalid use of Null");
  EXPECT_EQ(errorOf([] { CLng(Variant::nothing()); }), vbErrObjectNotSet);
}

TEST(Conversions, CStrOfDoubleGivesVbText) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case c : {Case{0.1, "0.1"}, {1e20, "1E+20"}, {1.5e-7, "1.5E-07"},
                       {123456789012345678.0, "1.23456789012346E+17"}, {100000, "100000"},
                       {1e15, "1E+15"}, {999999999999999.0, "999999999999999"}, {-0.5, "-0.5"},
                       {0.0, "0"}, {-0.0, "0"}, {0.0001, "0.0001"}, {0.00001, "1E-05"},
                       {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"},
                       {-1234.5678, "-1234.5678"}, {1e100, "1E+100"}, {-2.5e-300, "-2.5E-300"},
                       {999999999999999.9, "1E+15"}, {12345678901234.5, "12345678901234.5"},
                       {1234567890123456.0, "1.23456789012346E+15"}, {0.1 + 0.2, "0.3"}}) {
    EXPECT_EQ(CStr(c.value), c.text) << c.text;
  }
}

TEST(Conversions, CStrOfOtherTypes) {
  EXPECT_EQ(CStr(true), "True");
  EXPECT_EQ(CStr(false), "False");
  EXPECT_EQ(CStr(int16_t{-7}), "-7");
  EXPECT_EQ(CStr(2147483647), "2147483647");
  EXPECT_EQ(CStr(uint8_t{255}), "255");
  EXPECT_EQ(CStr(CDate(Date::fromParts(2026, 12, 4, 8, 16, 18))), "12/4/2026 8:16:18 AM");
  EXPECT_EQ(CStr(CDate("12/4/2026 8:16:18 AM")), "12/4/2026 8:16:18 AM");
}

TEST(Conversions, HexAndOctalTextGiveTheBitsOfTheTypeAskedFor) {
  struct Case {
    const char* text;
    int32_t asLong;
    int16_t asInteger;
  };
  for (const Case c : {Case{"&H10", 16, 16}, {"&O17", 15, 15}, {" &hff ", 255, 255}, {"&HFFFF", 65535, -1},
                       {"&H7FFF", 32767, 32767}, {"&O177777", 65535, -1}}) {
    EXPECT_EQ(CLng(c.text), c.asLong) << c.text;
    EXPECT_EQ(CInt(c.text), c.asInteger) << c.text;
  }
  EXPECT_EQ(CLng("&HFFFFFFFF"), -1);
  EXPECT_EQ(CDbl("&H10"), 16.0);
  EXPECT_EQ(errorOf([] { CInt("&H10000"); }), vbErrOverflow);
  EXPECT_EQ(errorOf([] { CLng("&H100000000"); }), vbErrOverflow);
  for (const char* text : {"&H", "&HG", "&O8", "&X1", "&H1 2"})
    EXPECT_EQ(errorOf([&] { CLng(text); }), vbErrTypeMismatch) << text;
}

TEST(Conversions, CDateTakesDatesTextAndSerials) {
  const Date lastDay = Date::fromParts(2026, 12, 31);
  for (const char* text : {"12/31/2026", "31/12/2026", "2026-12-31", "Dec 31, 2026", "december 31 2026",
                           "31 Dec 2026", "31-Dec-2026"})
    EXPECT_EQ(CDate(text), lastDay) << text;
  EXPECT_EQ(CDate("Dec 31, 2026 8:16 PM"), Date::fromParts(2026, 12, 31, 20, 16));
  EXPECT_EQ(CDate("4/12/2026"), Date::fromParts(2026, 4, 12));  // month first when both could be
  for (const char* text : {"31/31/2026", "Dex 31, 2026", "Dec 32, 2026"})
    EXPECT_EQ(errorOf([&] { CDate(text); }), vbErrTypeMismatch) << text;
  EXPECT_EQ(CDate("2026-12-04 08:16:18"), Date::fromParts(2026, 12, 4, 8, 16, 18));
  EXPECT_EQ(CDate(46360.75), Date::fromParts(2026, 12, 4, 18));
  EXPECT_EQ(CDate(int32_t{2}), Date::fromParts(1900, 1, 1));
  EXPECT_EQ(errorOf([] { CDate("not a date"); }), vbErrTypeMismatch);
}

}  // namespace
