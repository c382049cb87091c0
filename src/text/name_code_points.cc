// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/name_code_points.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <string>

#include "text/code_page_convert.h"

namespace zefa {
namespace {

void AppendStray(std::u16string& out, unsigned char byte) {
  const UChar32 c = static_cast<UChar32>(kStrayByteBase + byte);
  out.push_back(static_cast<char16_t>(U16_LEAD(c)));
  out.push_back(static_cast<char16_t>(U16_TRAIL(c)));
}

bool IsStray(UChar32 c) {
  return c >= static_cast<UChar32>(kStrayByteBase) &&
         c <= static_cast<UChar32>(kStrayByteBase + 0xFF);
}

// The bytes of an illegal sequence, each as its stray character.
void StrayBytesToU(const void*, UConverterToUnicodeArgs* args, const char* bytes, int32_t length,
                   UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;
  *status = U_ZERO_ERROR;
  for (int32_t i = 0; i < length && U_SUCCESS(*status); ++i) {
    const UChar32 c = static_cast<UChar32>(kStrayByteBase + static_cast<unsigned char>(bytes[i]));
    const UChar pair[2] = {U16_LEAD(c), U16_TRAIL(c)};
    ucnv_cbToUWriteUChars(args, pair, 2, 0, status);
  }
}

std::u16string DecodeShiftJis(std::string_view bytes) {
  std::u16string out;
  UConverter* converter = ShiftJisConverter();
  if (converter == nullptr) {
    for (const char c : bytes) AppendStray(out, static_cast<unsigned char>(c));
    return out;
  }
  ucnv_reset(converter);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter, StrayBytesToU, nullptr, nullptr, nullptr, &status);
  // One byte gives at most two units (a stray byte's pair).
  out.resize(2 * bytes.size() + 1);
  const int32_t length = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                       bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
  return out;
}

std::optional<std::string> EncodeShiftJisRun(std::u16string_view run) {
  UConverter* converter = ShiftJisConverter();
  if (converter == nullptr) return std::nullopt;
  ucnv_reset(converter);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  std::string out(2 * run.size() + 1, '\0');
  const int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                         run.data(), static_cast<int32_t>(run.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

}  // namespace

std::u16string DecodeName(std::string_view bytes, CodePage code_page) {
  if (code_page == CodePage::kShiftJis) return DecodeShiftJis(bytes);
  std::u16string out;
  out.reserve(bytes.size());
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto length = static_cast<int32_t>(bytes.size());
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c = 0;
    U8_NEXT(data, i, length, c);
    if (c < 0 || IsStray(c)) {
      // Every byte of an ill-formed sequence is kept, and so is a name that already
      // holds one of the private characters.
      for (int32_t k = start; k < i; ++k) AppendStray(out, data[k]);
    } else if (c <= 0xFFFF) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      out.push_back(static_cast<char16_t>(U16_LEAD(c)));
      out.push_back(static_cast<char16_t>(U16_TRAIL(c)));
    }
  }
  return out;
}

std::optional<std::string> EncodeName(std::u16string_view text, CodePage code_page) {
  std::string out;
  out.reserve(text.size() * (code_page == CodePage::kShiftJis ? 2 : 3));
  std::size_t run_start = 0;
  const auto flush = [&](std::size_t end) -> bool {
    if (code_page != CodePage::kShiftJis || end == run_start) return true;
    const std::optional<std::string> bytes =
        EncodeShiftJisRun(text.substr(run_start, end - run_start));
    if (!bytes) return false;
    out += *bytes;
    return true;
  };
  const auto size = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < size;) {
    const int32_t start = i;
    UChar32 c = 0;
    U16_NEXT(text.data(), i, size, c);
    if (IsStray(c)) {
      if (!flush(static_cast<std::size_t>(start))) return std::nullopt;
      out.push_back(static_cast<char>(c - static_cast<UChar32>(kStrayByteBase)));
      run_start = static_cast<std::size_t>(i);
    } else if (code_page == CodePage::kUtf8) {
      if (U_IS_SURROGATE(c)) return std::nullopt;
      char buffer[4];
      int32_t written = 0;
      U8_APPEND_UNSAFE(buffer, written, c);
      out.append(buffer, static_cast<std::size_t>(written));
    }
  }
  if (!flush(text.size())) return std::nullopt;
  return out;
}

}  // namespace zefa
