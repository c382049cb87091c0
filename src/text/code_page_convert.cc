// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/code_page_convert.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

#include "text/text_rules.h"

namespace zefa {
namespace {

constexpr const char* kShiftJisName = "windows-932";
constexpr UChar kReplacement = 0xFFFD;

struct ConverterClose {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterClose>;

Converter OpenShiftJis() {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(kShiftJisName, &status));
  if (U_FAILURE(status)) return nullptr;
  return converter;
}

// ICU's own substitute turns a stray single byte into U+001A, a control character that
// would vanish on screen; U+FFFD shows that something was there.
void ReplaceWithFffd(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                     UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close and clone need nothing
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

// Runs `convert(buffer, capacity, status)` once with a guess, and again with the size it
// asked for when the guess was short. Empty on failure.
template <typename Char, typename Convert>
std::vector<Char> WithCapacity(std::size_t guess, Convert convert) {
  std::vector<Char> out(guess + 1);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = convert(out.data(), static_cast<int32_t>(out.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(static_cast<std::size_t>(length) + 1, Char{});
    status = U_ZERO_ERROR;
    length = convert(out.data(), static_cast<int32_t>(out.size()), &status);
  }
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string Utf16ToUtf8(const std::vector<UChar>& text) {
  const auto utf8 =
      WithCapacity<char>(text.size() * 3, [&](char* out, int32_t capacity, UErrorCode* status) {
        int32_t length = 0;
        u_strToUTF8WithSub(out, capacity, &length, text.data(), static_cast<int32_t>(text.size()),
                           kReplacement, nullptr, status);
        return length;
      });
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace

// Opening a converter costs more than converting a name: one per thread, kept.
UConverter* ShiftJisConverter() {
  thread_local const Converter converter = OpenShiftJis();
  return converter.get();
}

std::string ShiftJisToUtf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const Converter converter = OpenShiftJis();
  if (converter) {
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), ReplaceWithFffd, nullptr, nullptr, nullptr, &status);
    // A byte never yields more than one UTF-16 unit in this code page.
    const auto utf16 = WithCapacity<UChar>(
        bytes.size(), [&](UChar* out, int32_t capacity, UErrorCode* call_status) {
          return ucnv_toUChars(converter.get(), out, capacity, bytes.data(),
                               static_cast<int32_t>(bytes.size()), call_status);
        });
    if (U_SUCCESS(status) && !utf16.empty()) return Utf16ToUtf8(utf16);
  }
  // Without the converter, keep what is plain ASCII and mark the rest, so the result is
  // still UTF-8 as promised.
  std::string text;
  for (char c : bytes) text += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "\uFFFD";
  return text;
}

std::optional<std::string> StrictShiftJisToUtf8(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const Converter converter = OpenShiftJis();
  if (!converter) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  // A byte never yields more than one UTF-16 unit in this code page; bytes that do not
  // decode stop the conversion and leave nothing.
  const auto utf16 =
      WithCapacity<UChar>(bytes.size(), [&](UChar* out, int32_t capacity, UErrorCode* call_status) {
        return ucnv_toUChars(converter.get(), out, capacity, bytes.data(),
                             static_cast<int32_t>(bytes.size()), call_status);
      });
  if (U_FAILURE(status) || utf16.empty()) return std::nullopt;
  return Utf16ToUtf8(utf16);
}

std::string Utf8ToShiftJis(std::string_view bytes) {
  if (bytes.empty()) return {};
  const auto utf16 =
      WithCapacity<UChar>(bytes.size(), [&](UChar* out, int32_t capacity, UErrorCode* status) {
        int32_t length = 0;
        u_strFromUTF8WithSub(out, capacity, &length, bytes.data(),
                             static_cast<int32_t>(bytes.size()), kReplacement, nullptr, status);
        return length;
      });
  const Converter converter = OpenShiftJis();
  if (!converter || utf16.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setSubstChars(converter.get(), "?", 1, &status);
  const auto sjis = WithCapacity<char>(
      utf16.size() * 2, [&](char* out, int32_t capacity, UErrorCode* call_status) {
        return ucnv_fromUChars(converter.get(), out, capacity, utf16.data(),
                               static_cast<int32_t>(utf16.size()), call_status);
      });
  return std::string(sjis.begin(), sjis.end());
}

std::string DecodeStoredText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return ShiftJisToUtf8(bytes);
}

}  // namespace zefa
