#pragma once
// Trace values as the analyzer sends them, decoded straight into the caller's storage: a REAL,32
// block (IEEE 754 single precision, in either byte order) or an ASCII list of numbers separated
// by commas. `stride` places consecutive values `stride` doubles apart, so that the traces of
// (1 To 3, 1 To N) arrays interleave in place.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kro {

enum class ByteOrder { BigEndian, LittleEndian };

// Decodes block.size() / 4 values; the block's size must be a multiple of 4.
void decodeReal32(std::span<const uint8_t> block, ByteOrder order, double* out, size_t stride = 1);
// Parses up to `capacity` values; returns how many were found, or -1 (as SIZE_MAX) when an entry
// is not a number or there are more than `capacity`.
size_t parseAsciiValues(std::string_view text, double* out, size_t capacity, size_t stride = 1);
inline constexpr size_t kNotValues = static_cast<size_t>(-1);

}  // namespace kro
