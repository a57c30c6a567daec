#include "ScpiSession.h"

#include <fmt/format.h>

#include <cctype>
#include <charconv>
#include <cmath>

#include "companions/ReplyExcerpt.h"

namespace kro {

void ScpiSession::write(std::string_view command) { link_.writeLine(command, timeoutMs_); }

void ScpiSession::writeBlock(std::string_view command, std::span<const uint8_t> data) {
  const std::string length = std::to_string(data.size());
  const std::string header = fmt::format("{} #{}{}", command, length.size(), length);
  std::vector<uint8_t> message;
  message.reserve(header.size() + data.size() + 1);
  message.insert(message.end(), header.begin(), header.end());
  message.insert(message.end(), data.begin(), data.end());
  message.push_back('\n');
  link_.writeBytes(message, timeoutMs_);
}

std::string ScpiSession::query(std::string_view command, size_t maxLength) {
  link_.writeLine(command, timeoutMs_);
  return link_.readLine(timeoutMs_, maxLength);
}

double ScpiSession::queryNumber(std::string_view command) {
  const std::string reply = query(command);
  if (auto value = parseScpiNumber(reply)) return *value;
  throw companionError(ErrorCode::BadReply,
                       fmt::format("{} to {} returned '{}' where a finite number was expected", command,
                                   link_.Address(), replyExcerpt(reply)));
}

void ScpiSession::queryBlock(std::string_view command, std::vector<uint8_t>& into) {
  link_.writeLine(command, timeoutMs_);
  link_.readBlock(into, timeoutMs_);
}

std::vector<uint8_t> ScpiSession::queryBlock(std::string_view command) {
  std::vector<uint8_t> data;
  queryBlock(command, data);
  return data;
}

std::optional<double> parseScpiValue(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> parseScpiNumber(std::string_view text) {
  const auto value = parseScpiValue(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

}  // namespace kro
