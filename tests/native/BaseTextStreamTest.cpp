// UTF-8 as the file stores it, stream strings, trimming and the identity
// index.
#include <gtest/gtest.h>

#include <memory>

#include "base/Errors.h"
#include "base/Stream.h"
#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "store/UIDIndex.h"

namespace vellumio {
namespace {

// Decodes from a heap block of exactly the string's size, so that reading
// one byte too far is caught by AddressSanitizer.
std::u16string DecodeExact(std::string_view bytes) {
  auto block = std::make_unique<char[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), block.get());
  return DecodeUtf8Lenient(std::string_view(block.get(), bytes.size()));
}

TEST(Utf8, PerUnitEncodingWritesSurrogatesAsThreeByteSequences) {
  EXPECT_EQ(EncodeUtf8PerUnit(u"a\u00E9\u20AC"), "a\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(EncodeUtf8PerUnit(u"\U0001F600"), "\xED\xA0\xBD\xED\xB8\x80");
  EXPECT_EQ(EncodeUtf8PerUnit(std::u16string(1, u'\0')), std::string(1, '\0'));
}

TEST(Utf8, LenientDecodingReadsBothFormsAndLongSequences) {
  EXPECT_EQ(DecodeExact("\xED\xA0\xBD\xED\xB8\x80"), u"\U0001F600");
  EXPECT_EQ(DecodeExact("\xF0\x9F\x98\x80"), u"\U0001F600");
  // Continuation bytes are not validated; the lead byte decides the length.
  EXPECT_EQ(DecodeExact("\xC3\x29"), u"\u00E9");
  // Five- and six-byte sequences are consumed whole.
  EXPECT_EQ(DecodeExact("\xF8\x80\x80\x80\x80" "a\xFC\x80\x80\x80\x80\x80" "b").back(), u'b');
  for (const char* cut : {"ab\xE2", "ab\xE2\x82", "\xF0\x9F\x98", "\xFC\x80\x80"}) {
    std::u16string out = DecodeExact(cut);
    EXPECT_LE(out.size(), 2u) << cut;
  }
}

TEST(Utf8, StandardConversionsRoundTripAndReplaceBrokenInput) {
  const std::u16string text = u"Gr\u00FC\u00DF \u4E2D \U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(FromUtf8("\xC3"), u"\uFFFD");
  EXPECT_EQ(FromUtf8("\xED\xA0\xBD"), u"\uFFFD\uFFFD\uFFFD");
}

TEST(StreamString, ShortAndEscapedLengthsAtTheBoundary) {
  for (size_t length : {size_t(0), size_t(65534), size_t(65535), size_t(70000)}) {
    SCOPED_TRACE(length);
    TMemoryStream s;
    s.WriteStreamString(std::string(length, 'x'));
    const bool escaped = length >= 65535;
    EXPECT_EQ(s.Size(), length + (escaped ? 6 : 2));
    EXPECT_EQ(s.ReadStreamString().size(), length);
    EXPECT_EQ(s.Remaining(), 0u);
  }
}

TEST(StreamString, LengthBeyondTheDataIsAReadError) {
  TMemoryStream s;
  s.WriteUInt16(0xFFFF);
  s.WriteUInt32(0xFFFFFFF0);
  s.WriteByte('x');
  EXPECT_THROW(s.ReadStreamString(), EReadError);
  TMemoryStream shortLen;
  shortLen.WriteUInt16(5);
  shortLen.Write("abcd", 4);
  EXPECT_THROW(shortLen.ReadStreamString(), EReadError);
  TMemoryStream empty;
  EXPECT_THROW(empty.ReadInt32(), EReadError);
}

TEST(TextUtil, TrimAndCaseInsensitiveSearch) {
  EXPECT_EQ(Trim(u"\t\r\n \u00A0x y\u3000\u0001"), u"x y");
  EXPECT_EQ(Trim(u" \t "), u"");
  const std::u16string upper = UpperCaseUnits(u"\u00E4pfel");
  EXPECT_EQ(upper, u"\u00C4PFEL");
  EXPECT_TRUE(ContainsUpperCased(u"rote \u00C4pfel", upper));
  EXPECT_TRUE(ContainsUpperCased(u"xxx\u00E4PFEL", upper));
  EXPECT_FALSE(ContainsUpperCased(u"\u00E4pfe", upper));
  EXPECT_EQ(UpperUnit(u'\u0436'), u'\u0416');
  EXPECT_EQ(UpperUnit(0xD83D), 0xD83D);
}

TEST(UIDIndex, RunsMergeSplitAndCountDuplicates) {
  UIDIndex index;
  for (int32_t uid : {10, 11, 13, 12, 20}) index.Add(uid);
  EXPECT_EQ(index.FirstFreeFrom(10), 14);
  EXPECT_EQ(index.FirstFreeFrom(5), 5);
  EXPECT_EQ(index.FirstFreeFrom(20), 21);
  index.Add(12);     // a duplicate
  index.Remove(12);  // one occurrence left
  EXPECT_EQ(index.FirstFreeFrom(10), 14);
  index.Remove(12);
  EXPECT_EQ(index.FirstFreeFrom(10), 12);
  EXPECT_EQ(index.FirstFreeFrom(13), 14);
  index.Remove(999);  // unknown: ignored
  EXPECT_TRUE(index.Contains(11));
  EXPECT_FALSE(index.Contains(12));
}

TEST(UIDIndex, ZeroIsNeverHandedOutAndCountingWraps) {
  UIDIndex index;
  EXPECT_EQ(index.FirstFreeFrom(0), 1);
  index.Add(0);
  EXPECT_FALSE(index.Contains(0));
  index.Add(INT32_MAX - 1);
  index.Add(INT32_MAX);
  index.Add(INT32_MIN);
  EXPECT_EQ(index.FirstFreeFrom(INT32_MAX - 1), INT32_MIN + 1);
  index.Add(-1);
  index.Add(1);
  EXPECT_EQ(index.FirstFreeFrom(-1), 2);
}

}  // namespace
}  // namespace vellumio
