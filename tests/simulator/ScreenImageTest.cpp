// Screen images: each format is a real file of its kind that the usual readers accept, and the
// picture shows the analyzer's state.
#include <gd.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "simulator/Analyzer.h"
#include "simulator/Display.h"

namespace sim {
namespace {

std::string screen(Analyzer& a, const char* language) {
  a.execute(std::string(":HCOP:DEV:LANG ") + language);
  const std::string reply = a.execute(":HCOP:DATA?");
  EXPECT_EQ(reply[0], '#');
  const std::size_t digits = static_cast<std::size_t>(reply[1] - '0');
  const std::size_t length = std::stoul(reply.substr(2, digits));
  EXPECT_EQ(reply.size(), 2 + digits + length + 1);
  return reply.substr(2 + digits, length);
}

uint32_t le32(const std::string& s, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}
uint16_t le16(const std::string& s, std::size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
}

TEST(ScreenImage, RasterFormatsCarryTheirMagicAndLoadIntoLibgd) {
  struct Case {
    const char* language;
    std::string magic;
    gdImagePtr (*load)(int, void*);
  };
  const Case cases[] = {
      {"GIF", "GIF8", gdImageCreateFromGifPtr},
      {"BMP", "BM", gdImageCreateFromBmpPtr},
      {"JPEG", "\xFF\xD8\xFF", gdImageCreateFromJpegPtr},
      {"TIFF", "II*", gdImageCreateFromTiffPtr},
  };
  Analyzer a;
  // Three different traces, so that none hides another.
  a.execute(":INIT:CONT 0;:TRAC2:MODE MAXH;:TRAC3:MODE MINH;:INIT;:INIT;:INIT;:INIT");
  for (const Case& c : cases) {
    std::string image = screen(a, c.language);
    EXPECT_TRUE(image.starts_with(c.magic)) << c.language;
    gdImagePtr loaded = c.load(static_cast<int>(image.size()), image.data());
    ASSERT_NE(loaded, nullptr) << c.language;
    EXPECT_EQ(gdImageSX(loaded), Display::kWidth);
    EXPECT_EQ(gdImageSY(loaded), Display::kHeight);
    // Black screen, and the trace colours present somewhere (exact for the lossless formats).
    const int corner = gdImageGetTrueColorPixel(loaded, 0, 0);
    EXPECT_LT(gdTrueColorGetRed(corner) + gdTrueColorGetGreen(corner) + gdTrueColorGetBlue(corner), 30) << c.language;
    if (std::string(c.language) != "JPEG") {
      bool colour[3] = {false, false, false};
      for (int y = Display::kGridTop; y < Display::kGridTop + Display::kGridHeight; ++y)
        for (int x = Display::kGridLeft; x < Display::kGridLeft + Display::kGridWidth; ++x) {
          const int p = gdImageGetTrueColorPixel(loaded, x, y);
          for (int t = 0; t < 3; ++t)
            colour[t] |= gdTrueColorGetRed(p) == kTraceColors[t].r && gdTrueColorGetGreen(p) == kTraceColors[t].g &&
                         gdTrueColorGetBlue(p) == kTraceColors[t].b;
        }
      EXPECT_TRUE(colour[0] && colour[1] && colour[2]) << c.language;
    }
    gdImageDestroy(loaded);
  }
}

TEST(ScreenImage, WindowsMetafileIsPlaceableAndItsRecordsAddUp) {
  Analyzer a;
  const std::string wmf = screen(a, "WMF");
  ASSERT_GT(wmf.size(), 40u);
  EXPECT_EQ(le32(wmf, 0), 0x9AC6CDD7u);
  uint16_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) checksum ^= le16(wmf, i);
  EXPECT_EQ(le16(wmf, 20), checksum);
  EXPECT_EQ(le16(wmf, 22), 1);      // in memory
  EXPECT_EQ(le16(wmf, 24), 9);      // header words
  EXPECT_EQ(le16(wmf, 26), 0x300);  // version
  EXPECT_EQ(le32(wmf, 28) * 2, wmf.size() - 22);

  // Walk the records: each size is right, the largest is announced, the last is EOF.
  std::size_t at = 22 + 18;
  uint32_t largest = 0;
  uint16_t last = 0xFFFF;
  int polylines = 0, texts = 0;
  while (at < wmf.size()) {
    const uint32_t words = le32(wmf, at);
    ASSERT_GE(words, 3u);
    last = le16(wmf, at + 4);
    polylines += last == 0x0325;
    texts += last == 0x0521;
    largest = std::max(largest, words);
    at += words * 2;
  }
  EXPECT_EQ(at, wmf.size());
  EXPECT_EQ(last, 0);
  EXPECT_EQ(le32(wmf, 34), largest);
  EXPECT_EQ(polylines, 11 + 9 + 1);  // graticule lines and the one shown trace
  EXPECT_EQ(texts, 8);
  EXPECT_NE(wmf.find("Center 1.800000 GHz"), std::string::npos);
}

TEST(ScreenImage, EnhancedMetafileHeaderAndRecordsAreConsistent) {
  Analyzer a;
  a.execute(":FREQ:CENT 100 MHz;SPAN 10 MHz;:BAND 30 kHz");
  const std::string emf = screen(a, "EMF");
  ASSERT_GT(emf.size(), 108u);
  EXPECT_EQ(le32(emf, 0), 1u);
  EXPECT_EQ(emf.substr(40, 4), " EMF");
  EXPECT_EQ(le32(emf, 48), emf.size());

  std::size_t at = 0;
  uint32_t records = 0, lastType = 0;
  int polylines = 0;
  std::u16string text;
  while (at < emf.size()) {
    const uint32_t type = le32(emf, at), size = le32(emf, at + 4);
    ASSERT_EQ(size % 4, 0u);
    ASSERT_GE(size, 8u);
    if (type == 84) {  // text: read the UTF-16 string where the record says it is
      const uint32_t chars = le32(emf, at + 44), offset = le32(emf, at + 48);
      for (uint32_t i = 0; i < chars; ++i) text.push_back(static_cast<char16_t>(le16(emf, at + offset + 2 * i)));
      text.push_back(u'|');
    }
    polylines += type == 87;
    lastType = type;
    ++records;
    at += size;
  }
  EXPECT_EQ(at, emf.size());
  EXPECT_EQ(lastType, 14u);
  EXPECT_EQ(le32(emf, 52), records);
  EXPECT_EQ(polylines, 11 + 9 + 1);
  for (const char16_t* wanted : {u"Center 100 MHz|", u"Span 10 MHz|", u"RBW 30 kHz|", u"Ref 0.0 dBm|"})
    EXPECT_NE(text.find(wanted), std::u16string::npos);
}

TEST(ScreenImage, BlankTracesAreNotDrawnAndAnnotationsFollowTheSettings) {
  Settings s;
  s.traceModes = {TraceMode::Blank, TraceMode::MaxHold, TraceMode::Blank};
  s.startHz = 1e6;
  s.stopHz = 1e6;
  s.sweepTimeS = 0.002;
  s.unit = Unit::DBUV;
  s.refLevelDbm = -10;
  const std::vector<float> data(1001, -50.0f);
  const Display d = drawDisplay(s, {&data, &data, &data});
  ASSERT_EQ(d.lines.size(), 11u + 9u + 1u);
  EXPECT_EQ(d.lines.back().color, kTraceColors[1]);
  // -50 dBm is 40 dB below the reference: half way down the 80 dB screen.
  for (const Point& p : d.lines.back().points)
    EXPECT_EQ(p.y, Display::kGridTop + std::lround(0.5 * (Display::kGridHeight - 1))) << p.x;
  std::string all;
  for (const auto& t : d.texts) all += t.text + "|";
  EXPECT_NE(all.find("Span 0 Hz|"), std::string::npos) << all;
  EXPECT_NE(all.find("Sweep 2 ms|"), std::string::npos) << all;
  EXPECT_NE(all.find("Ref 97.0 dBuV|"), std::string::npos) << all;
}

}  // namespace
}  // namespace sim
