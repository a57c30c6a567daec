#include "simulator/Metafile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace sim {
namespace {

constexpr int kDpi = 96;
constexpr char kFaceName[] = "Courier New";

class Bytes {
 public:
  void u8(uint8_t v) { s_.push_back(static_cast<char>(v)); }
  void u16(uint32_t v) {
    u8(v & 0xFF);
    u8((v >> 8) & 0xFF);
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void i16(int v) { u16(static_cast<uint16_t>(static_cast<int16_t>(v))); }
  void i32(int v) { u32(static_cast<uint32_t>(v)); }
  void pad(std::size_t multiple) {
    while (s_.size() % multiple) u8(0);
  }
  std::size_t size() const { return s_.size(); }
  std::string& str() { return s_; }
  void put32At(std::size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) s_[offset + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }

 private:
  std::string s_;
};

uint32_t colorRef(Rgb c) { return c.r | (c.g << 8) | (c.b << 16); }

// The distinct colours of the display's lines, background first: one pen each.
std::vector<Rgb> penColours(const Display& d) {
  std::vector<Rgb> colours{d.background};
  for (const auto& line : d.lines)
    if (std::find(colours.begin(), colours.end(), line.color) == colours.end()) colours.push_back(line.color);
  return colours;
}

std::size_t penIndex(const std::vector<Rgb>& colours, Rgb c) {
  return static_cast<std::size_t>(std::find(colours.begin(), colours.end(), c) - colours.begin());
}

// --- Windows Metafile: records of 16-bit words, object indices allocated from 0 in order.

class WmfRecords {
 public:
  void record(uint16_t function, const std::vector<uint16_t>& words) {
    const uint32_t size = 3 + static_cast<uint32_t>(words.size());
    body_.u32(size);
    body_.u16(function);
    for (uint16_t w : words) body_.u16(w);
    maxRecord_ = std::max(maxRecord_, size);
  }
  Bytes& body() { return body_; }
  uint32_t maxRecord() const { return maxRecord_; }

 private:
  Bytes body_;
  uint32_t maxRecord_ = 3;
};

uint16_t lo(uint32_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
uint16_t hi(uint32_t v) { return static_cast<uint16_t>(v >> 16); }
uint16_t w16(int v) { return static_cast<uint16_t>(static_cast<int16_t>(v)); }

std::vector<uint16_t> packBytes(const std::string& bytes) {
  std::vector<uint16_t> words;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    words.push_back(static_cast<uint16_t>(a | (b << 8)));
  }
  return words;
}

// --- Enhanced Metafile: records of 32-bit words, object handle 0 is the metafile itself.

class EmfRecords {
 public:
  void record(uint32_t type, const Bytes& params) {
    body_.u32(type);
    body_.u32(static_cast<uint32_t>(8 + params.size()));
    Bytes copy = params;
    body_.str() += copy.str();
    ++count_;
  }
  Bytes& body() { return body_; }
  uint32_t count() const { return count_; }

 private:
  Bytes body_;
  uint32_t count_ = 0;
};

void rectl(Bytes& b, int l, int t, int r, int bottom) {
  b.i32(l);
  b.i32(t);
  b.i32(r);
  b.i32(bottom);
}

}  // namespace

std::string writeWmf(const Display& d) {
  const auto colours = penColours(d);
  WmfRecords r;
  r.record(0x0103, {8});                                  // SETMAPMODE anisotropic
  r.record(0x020B, {0, 0});                               // SETWINDOWORG y, x
  r.record(0x020C, {Display::kHeight, Display::kWidth});  // SETWINDOWEXT y, x
  r.record(0x0102, {1});                                  // SETBKMODE transparent
  for (Rgb c : colours) {
    const uint32_t ref = colorRef(c);
    r.record(0x02FA, {0, 1, 0, lo(ref), hi(ref)});  // CREATEPENINDIRECT solid, width 1
  }
  const auto brush = static_cast<uint16_t>(colours.size());
  const uint32_t background = colorRef(d.background);
  r.record(0x02FC, {0, lo(background), hi(background), 0});  // CREATEBRUSHINDIRECT solid
  const auto font = static_cast<uint16_t>(brush + 1);
  std::string face(kFaceName);
  face.push_back('\0');
  std::vector<uint16_t> fontWords{w16(-Display::kCharHeight), 0, 0, 0, 400,
                                  0,  // italic, underline
                                  0,  // strike-out, charset ANSI
                                  0,  // out and clip precision
                                  static_cast<uint16_t>(0x31 << 8)};  // quality, fixed pitch modern
  for (uint16_t w : packBytes(face)) fontWords.push_back(w);
  r.record(0x02FB, fontWords);  // CREATEFONTINDIRECT
  const uint16_t objects = static_cast<uint16_t>(font + 1);

  r.record(0x012D, {brush});  // SELECTOBJECT
  r.record(0x012D, {0});
  r.record(0x041B, {Display::kHeight, Display::kWidth, 0, 0});  // RECTANGLE bottom, right, top, left
  std::size_t selected = 0;
  for (const auto& line : d.lines) {
    const std::size_t pen = penIndex(colours, line.color);
    if (pen != selected) r.record(0x012D, {static_cast<uint16_t>(pen)});
    selected = pen;
    std::vector<uint16_t> words{static_cast<uint16_t>(line.points.size())};
    for (const Point& p : line.points) {
      words.push_back(w16(p.x));
      words.push_back(w16(p.y));
    }
    r.record(0x0325, words);  // POLYLINE
  }
  r.record(0x012D, {font});
  for (const auto& text : d.texts) {
    const uint32_t ref = colorRef(text.color);
    r.record(0x0209, {lo(ref), hi(ref)});  // SETTEXTCOLOR
    std::vector<uint16_t> words{static_cast<uint16_t>(text.text.size())};
    for (uint16_t w : packBytes(text.text)) words.push_back(w);
    words.push_back(w16(text.origin.y));
    words.push_back(w16(text.origin.x));
    r.record(0x0521, words);  // TEXTOUT
  }
  for (uint16_t i = 0; i < objects; ++i) r.record(0x01F0, {i});  // DELETEOBJECT
  r.record(0x0000, {});                                             // EOF

  Bytes out;
  // Placeable header: the picture's size in logical units and how many of them make an inch.
  const std::vector<uint16_t> placeable{0xCDD7, 0x9AC6, 0, 0, 0, Display::kWidth, Display::kHeight, kDpi, 0, 0};
  uint16_t checksum = 0;
  for (uint16_t w : placeable) {
    out.u16(w);
    checksum ^= w;
  }
  out.u16(checksum);
  const uint32_t totalWords = 9 + static_cast<uint32_t>(r.body().size() / 2);
  out.u16(1);       // in memory
  out.u16(9);       // header words
  out.u16(0x0300);  // version
  out.u32(totalWords);
  out.u16(objects);
  out.u32(r.maxRecord());
  out.u16(0);
  out.str() += r.body().str();
  return std::move(out.str());
}

std::string writeEmf(const Display& d) {
  const auto colours = penColours(d);
  EmfRecords r;
  auto simple = [&](uint32_t type, uint32_t value) {
    Bytes p;
    p.u32(value);
    r.record(type, p);
  };
  simple(18, 1);  // SETBKMODE transparent
  uint32_t handle = 1;
  for (Rgb c : colours) {
    Bytes p;
    p.u32(handle++);
    p.u32(0);  // PS_SOLID
    p.i32(1);
    p.i32(0);
    p.u32(colorRef(c));
    r.record(38, p);  // CREATEPEN
  }
  const uint32_t brush = handle++;
  {
    Bytes p;
    p.u32(brush);
    p.u32(0);  // BS_SOLID
    p.u32(colorRef(d.background));
    p.u32(0);
    r.record(39, p);  // CREATEBRUSHINDIRECT
  }
  const uint32_t font = handle++;
  {
    Bytes p;
    p.u32(font);
    p.i32(-Display::kCharHeight);
    p.i32(0);
    p.i32(0);
    p.i32(0);
    p.i32(400);
    for (int i = 0; i < 7; ++i) p.u8(0);
    p.u8(0x31);  // fixed pitch, modern
    std::string face(kFaceName);
    face.resize(32, '\0');
    for (char c : face) p.u16(static_cast<unsigned char>(c));
    r.record(82, p);  // EXTCREATEFONTINDIRECTW
  }
  simple(37, brush);  // SELECTOBJECT
  simple(37, 1);
  {
    Bytes p;
    rectl(p, 0, 0, Display::kWidth, Display::kHeight);
    r.record(43, p);  // RECTANGLE
  }
  uint32_t selected = 1;
  for (const auto& line : d.lines) {
    const uint32_t pen = 1 + static_cast<uint32_t>(penIndex(colours, line.color));
    if (pen != selected) simple(37, pen);
    selected = pen;
    int l = Display::kWidth, t = Display::kHeight, rt = 0, b = 0;
    for (const Point& pt : line.points) {
      l = std::min(l, pt.x);
      t = std::min(t, pt.y);
      rt = std::max(rt, pt.x);
      b = std::max(b, pt.y);
    }
    Bytes p;
    rectl(p, l, t, rt, b);
    p.u32(static_cast<uint32_t>(line.points.size()));
    for (const Point& pt : line.points) {
      p.i16(pt.x);
      p.i16(pt.y);
    }
    r.record(87, p);  // POLYLINE16
  }
  simple(37, font);
  for (const auto& text : d.texts) {
    simple(24, colorRef(text.color));  // SETTEXTCOLOR
    const auto n = static_cast<uint32_t>(text.text.size());
    const uint32_t stringOffset = 76;
    const uint32_t dxOffset = stringOffset + ((2 * n + 3) & ~3u);
    Bytes p;
    rectl(p, text.origin.x, text.origin.y, text.origin.x + Display::kCharWidth * static_cast<int>(n),
          text.origin.y + Display::kCharHeight);
    p.u32(1);  // GM_COMPATIBLE
    p.u32(0);  // x and y scale (unused in compatible mode)
    p.u32(0);
    p.i32(text.origin.x);
    p.i32(text.origin.y);
    p.u32(n);
    p.u32(stringOffset);
    p.u32(0);  // options
    rectl(p, 0, 0, 0, 0);
    p.u32(dxOffset);
    for (char c : text.text) p.u16(static_cast<unsigned char>(c));
    while (8 + p.size() < dxOffset) p.u8(0);
    for (uint32_t i = 0; i < n; ++i) p.u32(Display::kCharWidth);
    r.record(84, p);  // EXTTEXTOUTW
  }
  for (uint32_t h = 1; h < handle; ++h) simple(40, h);  // DELETEOBJECT
  {
    Bytes p;
    p.u32(0);   // palette entries
    p.u32(16);  // palette offset
    p.u32(20);  // size of this record
    r.record(14, p);  // EOF
  }

  constexpr uint32_t headerSize = 108;
  // The reference device: a 1920 x 1080 screen at 96 dots per inch, so the picture keeps its
  // pixel size.
  constexpr int deviceWidth = 1920, deviceHeight = 1080;
  const int mmWidth = deviceWidth * 254 / (kDpi * 10), mmHeight = deviceHeight * 254 / (kDpi * 10);
  Bytes out;
  out.u32(1);
  out.u32(headerSize);
  rectl(out, 0, 0, Display::kWidth - 1, Display::kHeight - 1);
  // The frame in hundredths of a millimetre.
  rectl(out, 0, 0, Display::kWidth * 2540 / kDpi, Display::kHeight * 2540 / kDpi);
  out.u32(0x464D4520);  // " EMF"
  out.u32(0x00010000);
  out.u32(headerSize + static_cast<uint32_t>(r.body().size()));
  out.u32(r.count() + 1);
  out.u16(handle);
  out.u16(0);
  out.u32(0);  // no description
  out.u32(0);
  out.u32(0);  // no palette
  out.i32(deviceWidth);
  out.i32(deviceHeight);
  out.i32(mmWidth);
  out.i32(mmHeight);
  out.u32(0);  // no pixel format
  out.u32(0);
  out.u32(0);  // not OpenGL
  out.u32(static_cast<uint32_t>(deviceWidth) * 25400u / kDpi);
  out.u32(static_cast<uint32_t>(deviceHeight) * 25400u / kDpi);
  out.str() += r.body().str();
  return std::move(out.str());
}

}  // namespace sim
