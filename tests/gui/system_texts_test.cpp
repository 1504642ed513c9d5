// The table of the system's texts: every entry is GBK that reads back as the
// Chinese written in the table, and no other source file spells a text as bytes.

#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringEncoder>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "web/system_texts.h"

namespace shop {
namespace {

struct TableEntry {
  const char* name;
  const char* gbk;
  const char* utf8;
};

// The same list, compiled here with UTF-8 as the execution character set.
const TableEntry kTable[] = {
#define SHOP_TEXT(name, text) {#name, name, text},
#include "web/system_texts.def"
#undef SHOP_TEXT
};

TEST(SystemTexts, EveryEntryIsLosslessGbkOfItsChineseText) {
  for (const TableEntry& entry : kTable) {
    SCOPED_TRACE(entry.name);
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArrayView(entry.gbk));
    EXPECT_FALSE(decoder.hasError());
    EXPECT_EQ(decoded, QString::fromUtf8(entry.utf8));
    QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    const QByteArray encoded = encoder.encode(QString::fromUtf8(entry.utf8));
    EXPECT_FALSE(encoder.hasError());
    EXPECT_EQ(encoded.toStdString(), std::string(entry.gbk));
  }
}

TEST(SystemTexts, KnownBytesStayExact) {
  EXPECT_EQ(std::string(kCheckingPlaceholder), "\xBC\xC6\xCB\xE3\xD6\xD0...");
  EXPECT_EQ(std::string(kColumnSeparator), "\xA1\xDC\xA1\xD5\xA1\xDD");
  EXPECT_EQ(std::string(kDefaultMessageTitle), "\xD0\xC5\xCF\xA2\xA3\xBA");
  EXPECT_EQ(std::string(kStatusLinked), "\xA1\xCC");
}

// A string literal holding a byte escape of 0x80 or above spells a GBK text.
TEST(SystemTexts, NoSourceFileOutsideTheTableSpellsTextsAsBytes) {
  const std::regex high_byte_escape(R"(\\x[89A-Fa-f][0-9A-Fa-f])");
  const std::filesystem::path source_dir = SHOP_SOURCE_DIR "/src";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(source_dir)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".cpp" && extension != ".h") {
      continue;
    }
    std::ifstream file(entry.path());
    std::stringstream content;
    content << file.rdbuf();
    EXPECT_FALSE(std::regex_search(content.str(), high_byte_escape)) << entry.path();
  }
}

}  // namespace
}  // namespace shop
