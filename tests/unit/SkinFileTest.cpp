// Reading skin files: the sample skin we ship, the format's rules, and everything that
// must be turned away quietly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/SkinFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::optional<skin::Skin> Parse(const Bytes& bytes) { return skin::ParseSkin(bytes.data(), bytes.size()); }
std::optional<skin::Skin> Parse(const std::string& text) { return Parse(FromText(text)); }

// UTF-16LE with its byte-order mark, from ASCII and BMP code points.
Bytes Utf16Le(const std::u32string& text) {
  Bytes out{0xFF, 0xFE};
  for (char32_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

const std::string kMinimal =
    "[Skin]\n"
    "Format = 1\n"
    "[Window]\n"
    "Background = #102030\n"
    "[Button]\n"
    "Face = #405060\n";

TEST(SkinFile, TheSampleSkinWeShipIsAValidSkin) {
  const auto path = std::filesystem::path(__FILE__).parent_path() / "../../skins/ocean.cjs";
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << path;
  const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto skin = Parse(bytes);
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->name, L"Ocean");
  EXPECT_EQ(skin->window.background, rt::Rgb(0xE3, 0xEF, 0xF8));
  EXPECT_EQ(skin->button.face, rt::Rgb(0x1B, 0x6C, 0xA8));
  EXPECT_EQ(skin->button.hover, rt::Rgb(0x2F, 0x86, 0xC6));
  EXPECT_EQ(skin->button.font, (rt::Font{L"Tahoma", 11.0, true, 1}));
  EXPECT_TRUE(skin->controls.background && skin->controls.text && skin->button.pressed && skin->button.border &&
              skin->button.focus && skin->window.font && skin->window.text);
}

TEST(SkinFile, AMinimalSkinGivesTheRequiredColoursAndLeavesTheRestOut) {
  const auto skin = Parse(kMinimal);
  ASSERT_TRUE(skin);
  skin::Skin expected;
  expected.window.background = rt::Rgb(0x10, 0x20, 0x30);
  expected.button.face = rt::Rgb(0x40, 0x50, 0x60);
  EXPECT_EQ(*skin, expected);
}

TEST(SkinFile, CaseBlanksCommentsAndLineEndsAreForgiven) {
  const auto skin = Parse(
      "; a comment\r\n"
      "  # another one\r"
      "\t[ skin ]   ; the header\n"
      "FORMAT=1\n"
      "name =  Deep  Sea \n"
      "\n"
      "[WINDOW]\r\n"
      "background = #abcdef ; lower-case digits\r\n"
      "Background = #ABCDEF\r\n"  // given twice: the last one counts
      "[Button]\n"
      "face=#000000");  // no line break at the end
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->name, L"Deep  Sea");
  EXPECT_EQ(skin->window.background, rt::Rgb(0xAB, 0xCD, 0xEF));
  EXPECT_EQ(skin->button.face, 0u);
}

TEST(SkinFile, FontsCarryFaceSizeWeightAndCharacterSet) {
  const auto skin = Parse(kMinimal + "Font = Arial Narrow, 11.25, bold, 204\n[Window]\nFont=Tahoma,9.5\n");
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->button.font, (rt::Font{L"Arial Narrow", 11.25, true, 204}));
  // Regular, and the character set left to Windows (1), when not given.
  EXPECT_EQ(skin->window.font, (rt::Font{L"Tahoma", 9.5, false, 1}));
}

TEST(SkinFile, Utf8WithByteOrderMarkAndUtf16LeReadTheSameAsPlainUtf8) {
  const std::string withName = kMinimal + "Font = \xD0\xA8\xD1\x80\xD0\xB8\xD1\x84\xD1\x82, 10\n";  // "Шрифт"
  const auto plain = Parse(withName);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->button.font->name, L"\u0428\u0440\u0438\u0444\u0442");
  EXPECT_EQ(Parse("\xEF\xBB\xBF" + withName), plain);

  std::u32string wide(kMinimal.begin(), kMinimal.end());
  wide += U"Font = \u0428\u0440\u0438\u0444\u0442, 10\r\n";
  EXPECT_EQ(Parse(Utf16Le(wide)), plain);
}

TEST(SkinFile, BytesThatAreNotTextAreNoSkin) {
  EXPECT_FALSE(Parse(Bytes{}));
  EXPECT_FALSE(skin::ParseSkin(nullptr, 0));
  Bytes withNul = FromText(kMinimal);
  withNul.insert(withNul.begin() + 3, 0);
  EXPECT_FALSE(Parse(withNul));
  EXPECT_FALSE(Parse(kMinimal + "\x01\n"));            // a control character
  EXPECT_FALSE(Parse(kMinimal + "; \xC0\xAF\n"));      // an overlong form, even in a comment
  EXPECT_FALSE(Parse(kMinimal + "; \xED\xA0\x80\n"));  // an encoded surrogate
  EXPECT_FALSE(Parse(kMinimal + "; \xE2\x82"));        // cut off in the middle of a character
  Bytes odd = Utf16Le(std::u32string(kMinimal.begin(), kMinimal.end()));
  odd.push_back('x');
  EXPECT_FALSE(Parse(odd));
  EXPECT_FALSE(Parse(Utf16Le(std::u32string(kMinimal.begin(), kMinimal.end()) + U"; \xD800\n")));  // lone surrogate
}

TEST(SkinFile, MissingSectionsOrRequiredEntriesMakeNoSkin) {
  EXPECT_FALSE(Parse("[Window]\nBackground=#000000\n[Button]\nFace=#000000\n"));  // no [Skin]
  EXPECT_FALSE(Parse("[Skin]\nFormat=1\n[Button]\nFace=#000000\n"));              // no [Window]
  EXPECT_FALSE(Parse("[Skin]\nFormat=1\n[Window]\nBackground=#000000\n"));        // no [Button]
  EXPECT_FALSE(Parse("[Skin]\nName=x\n[Window]\nBackground=#000000\n[Button]\nFace=#000000\n"));
  EXPECT_FALSE(Parse("[Skin]\nFormat=1\n[Window]\nText=#000000\n[Button]\nFace=#000000\n"));
  EXPECT_FALSE(Parse("[Skin]\nFormat=1\n[Window]\nBackground=#000000\n[Button]\nText=#000000\n"));
  EXPECT_FALSE(Parse("\n\n; nothing but comments\n"));
}

TEST(SkinFile, LinesOutsideTheFormatMakeNoSkin) {
  const char* const strangers[] = {
      "[Colours]\n",         // a section we do not know
      "Shadow = #000000\n",  // a key [Button] does not have
      "just some words\n",   // neither section nor entry
      "[Button\n",           // an unclosed section
      "[]\n",
      "= #000000\n",  // an entry without a key
  };
  for (const char* stranger : strangers) EXPECT_FALSE(Parse(kMinimal + stranger)) << stranger;
  EXPECT_FALSE(Parse("Face = #000000\n" + kMinimal));  // an entry before any section
  EXPECT_FALSE(Parse("[Skin]\nFormat = 2\n[Window]\nBackground=#000000\n[Button]\nFace=#000000\n"));
}

TEST(SkinFile, MalformedValuesMakeNoSkin) {
  const char* const values[] = {
      "Face = #12345",
      "Face = #1234567",
      "Face = 123456",
      "Face = #GG0000",
      "Face = # 12345",
      "Face =",
      "Font = Arial",
      "Font = , 10",
      "Font = Arial, 5.99",
      "Font = Arial, 36.01",
      "Font = Arial, 11.255",
      "Font = Arial, 11.",
      "Font = Arial, .5",
      "Font = Arial, -9",
      "Font = Arial, 1e1",
      "Font = Arial, 10, italic",
      "Font = Arial, 10, bold, 256",
      "Font = Arial, 10, bold, 1, 2",
      "Font = Arial, 10,, 1",
      "Font = ABCDEFGHIJKLMNOPQRSTUVWXYZ012345, 10",  // a face name of 32 characters
  };
  for (const char* value : values) EXPECT_FALSE(Parse(kMinimal + value + "\n")) << value;
  EXPECT_TRUE(Parse(kMinimal + "Font = ABCDEFGHIJKLMNOPQRSTUVWXYZ01234, 6, regular, 255\n"));
  EXPECT_TRUE(Parse(kMinimal + "Font = X, 36\n"));
}

TEST(SkinFile, LongLinesAndLargeFilesAreTurnedAway) {
  const std::string longest = "; " + std::string(skin::kMaxLineLength - 2, 'x') + "\n";
  EXPECT_TRUE(Parse(kMinimal + longest));
  EXPECT_FALSE(Parse(kMinimal + "; " + std::string(skin::kMaxLineLength - 1, 'x') + "\n"));
  EXPECT_FALSE(Parse(kMinimal + std::string(100000, 'x')));

  std::string large = kMinimal;
  while (large.size() + longest.size() <= skin::kMaxFileBytes) large += longest;
  EXPECT_TRUE(Parse(large));
  EXPECT_FALSE(Parse(large + longest));
}

}  // namespace
