// UTF-8 as the file stores it, stream strings, trimming and the identity
// index.
#include <gtest/gtest.h>

#include <map>
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

namespace vellumio {
namespace {

// The prepared search must agree with the plain one everywhere, including
// matches that straddle the eight-unit blocks and the tail.
TEST(TextUtil, FillPlaceholderReplacesOnlyTheFirst) {
  EXPECT_EQ(FillPlaceholder(u"List %s is gone (%s)", u"Work"), u"List Work is gone (%s)");
  EXPECT_EQ(FillPlaceholder(u"No placeholder", u"x"), u"No placeholder");
  EXPECT_EQ(FillPlaceholder(u"%s", u"%s%s"), u"%s%s");  // the value is not searched again
}

TEST(TextUtil, PreparedNeedleAgreesWithThePlainSearch) {
  const std::u16string alphabet = u"aAbB\u00E4\u00C4\u017Fs S\u0131iI";
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  for (int round = 0; round < 3000; ++round) {
    std::u16string hay(next() % 40, u' '), needle(1 + next() % 3, u' ');
    for (auto& c : hay) c = alphabet[next() % alphabet.size()];
    for (auto& c : needle) c = alphabet[next() % alphabet.size()];
    TCaseInsensitiveNeedle prepared(needle);
    ASSERT_EQ(prepared.FoundIn(hay), ContainsUpperCased(hay, UpperCaseUnits(needle)))
        << "round " << round;
  }
  TCaseInsensitiveNeedle abc(u"xyz");
  EXPECT_TRUE(abc.FoundIn(std::u16string(13, u'.') + u"XyZ"));  // starts in the second block
  EXPECT_TRUE(abc.FoundIn(std::u16string(6, u'.') + u"xYz"));   // straddles the first block
  EXPECT_FALSE(abc.FoundIn(std::u16string(14, u'.') + u"xy"));
}

}  // namespace
}  // namespace vellumio

namespace vellumio {
namespace {

// Against a plain multiset under random adds and removes: presence, and the
// first free identity from random points.
TEST(UIDIndex, AgreesWithAPlainMultisetUnderChurn) {
  UIDIndex index;
  std::map<int32_t, int> plain;
  uint32_t seed = 99;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int step = 0; step < 200000; ++step) {
    const int32_t uid = static_cast<int32_t>(1000 + next() % 3000) * ((next() & 7) == 0 ? -1 : 1);
    if (next() % 3) {
      index.Add(uid);
      ++plain[uid];
    } else {
      index.Remove(uid);
      if (auto it = plain.find(uid); it != plain.end() && --it->second == 0) plain.erase(it);
    }
    if (step % 97 == 0) {
      const int32_t from = static_cast<int32_t>(next() % 4500) - 500;
      int32_t expected = from;
      while (expected == 0 || plain.count(expected)) ++expected;
      ASSERT_EQ(index.FirstFreeFrom(from), expected) << "step " << step;
      ASSERT_EQ(index.Contains(uid), plain.count(uid) == 1);
      ASSERT_EQ(index.DistinctCount(), plain.size());
    }
  }
}

}  // namespace
}  // namespace vellumio
