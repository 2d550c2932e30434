#include "platform/registry/reg_file.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

namespace pelmorix {
namespace {

TRegistryHive ReadBack(const std::string& text, const std::string& root = "HKEY_LOCAL_MACHINE") {
  std::vector<TRegFileSection> sections;
  std::string error;
  EXPECT_TRUE(ParseRegFile(text, sections, &error)) << error << "\n" << text;
  TRegistryHive hive;
  ApplyRegFileSections(sections, root, hive);
  return hive;
}

std::string AllBytes() {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(RegFile, EveryKindOfValueRoundTrips) {
  TRegistryHive hive;
  TRegistryKey& key = hive.CreateKey("SOFTWARE\\velkora\\tarnovia\\101");
  const std::string quoted = "C:\\Spiele\\\"Gr" + Utf8ToCp1252("ü") + "n\"\\";
  const std::string lines = "first\r\nsecond\nthird";
  const std::string binary("\x00\x01\xff\x7f", 4);
  key.SetValue("folder", REG_SZ, quoted + '\0');
  key.SetValue("lines", REG_SZ, lines + '\0');
  key.SetValue("everybyte", REG_SZ, AllBytes() + '\0');
  key.SetValue("noterminator", REG_SZ, "abc");
  key.SetValue("embedded", REG_SZ, std::string("4\0junk\0", 7));
  key.SetValue("expand", REG_EXPAND_SZ, "%TEMP%\\" + Utf8ToCp1252("€") + '\0');
  key.SetValue("raw", REG_BINARY, binary);
  key.SetValue("long", REG_BINARY, std::string(300, '\x5a'));
  key.SetValue("number", REG_DWORD, std::string("\x2a\x00\x00\x80", 4));
  key.SetValue("", REG_SZ, std::string("default") + '\0');
  key.SetValue("name \"with\" \\ " + Utf8ToCp1252("ä"), REG_SZ, std::string("x") + '\0');
  hive.CreateKey("SOFTWARE\\empty");

  const std::string text = WriteRegFile("HKEY_LOCAL_MACHINE", hive);
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1) {
    EXPECT_LE(end - start, 80u) << "line too long: " << text.substr(start, end - start);
  }
  EXPECT_NE(text.find("\"folder\"=\"C:\\\\Spiele\\\\\\\"Grün\\\"\\\\\"\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\"number\"=dword:8000002a\n"), std::string::npos) << text;

  const TRegistryHive back = ReadBack(text);
  const TRegistryKey* read = back.FindKey("software\\VELKORA\\tarnovia\\101");
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->Values.size(), key.Values.size());
  for (size_t i = 0; i < key.Values.size(); ++i) {
    EXPECT_EQ(read->Values[i].Name, key.Values[i].Name);
    EXPECT_EQ(read->Values[i].Type, key.Values[i].Type) << key.Values[i].Name;
    EXPECT_EQ(read->Values[i].Data, key.Values[i].Data) << key.Values[i].Name;
  }
  EXPECT_NE(back.FindKey("SOFTWARE\\empty"), nullptr);
  EXPECT_NE(back.FindKey("SOFTWARE"), nullptr);
}

TEST(RegFile, ReadsWhatTheWindowsEditorWrites) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "; a comment\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\a]\r\n"
      "@=\"default\"\r\n"
      "\"bin\"=hex:01,02,\\\r\n"
      "  03\r\n"
      "\"exp\"=hex(2):41,00,42,00,00,00\r\n"
      "\"gone\"=\"x\"\r\n"
      "\"gone\"=-\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\a\\doomed]\r\n"
      "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\a\\doomed]\r\n"
      "[HKEY_CURRENT_USER\\other]\r\n";
  const TRegistryHive hive = ReadBack(text);
  const TRegistryKey* key = hive.FindKey("SOFTWARE\\a");
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->Values.size(), 3u);
  EXPECT_EQ(key->FindValue("")->Data, std::string("default") + '\0');
  EXPECT_EQ(key->FindValue("bin")->Data, "\x01\x02\x03");
  EXPECT_EQ(key->FindValue("exp")->Data, std::string("AB") + '\0');
  EXPECT_EQ(hive.FindKey("SOFTWARE\\a\\doomed"), nullptr);
  EXPECT_EQ(hive.FindKey("other"), nullptr);  // another root's section

  // A version 4 file has single-byte text data; a UTF-16LE file with its mark is read as well.
  EXPECT_EQ(ReadBack("REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n\"e\"=hex(2):41,42,00\n")
                .FindKey("k")
                ->FindValue("e")
                ->Data,
            std::string("AB") + '\0');
  const std::string utf8 =
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\k]\n"
      "\"v\"=\"Grün\"\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : Utf8ToCp1252(utf8)) utf16 += std::string{c, '\0'};
  EXPECT_EQ(ReadBack(utf16).FindKey("k")->FindValue("v")->Data, Utf8ToCp1252("Grün") + '\0');
}

TEST(RegFile, RefusesWhatItCannotRead) {
  const std::string header = "Windows Registry Editor Version 5.00\n";
  const char* broken[] = {
      "",
      "not a registry file\n",
      "\"v\"=\"before any section\"\n",
      "[HKEY_LOCAL_MACHINE\\k]\n\"unterminated=\"x\"\n",
      "[HKEY_LOCAL_MACHINE\\k]\n\"v\"=\"x\" trailing\n",
      "[HKEY_LOCAL_MACHINE\\k]\n\"v\"=hex:1,zz\n",
      "[HKEY_LOCAL_MACHINE\\k]\n\"v\"=hex:01,\n",
      "[HKEY_LOCAL_MACHINE\\k]\n\"v\"=hex(2):41\n",  // odd UTF-16
      "[HKEY_LOCAL_MACHINE\\k]\n\"v\"=dword:123456789\n",
      "[HKEY_LOCAL_MACHINE\\k]\n\"v\"=text\n",
      "[HKEY_LOCAL_MACHINE\\a\\\\b]\n",
      "[HKEY_LOCAL_MACHINE\\k\n",
  };
  for (const char* body : broken) {
    std::vector<TRegFileSection> sections;
    std::string error;
    const std::string text = std::string(body).empty() ? "" : header + body;
    EXPECT_FALSE(ParseRegFile(text, sections, &error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

TEST(RegistryHive, DeletesATreeButNotItsNeighbours) {
  TRegistryHive hive;
  hive.CreateKey("A\\C\\D");
  hive.CreateKey("A B");
  hive.CreateKey("AB");
  bool created = true;
  hive.CreateKey("a\\c", &created);
  EXPECT_FALSE(created);
  EXPECT_EQ(hive.SubKeyPaths("A"), std::vector<std::string>{"A\\C"});
  EXPECT_TRUE(hive.DeleteKey("a"));
  EXPECT_EQ(hive.FindKey("A\\C"), nullptr);
  EXPECT_EQ(hive.FindKey("A\\C\\D"), nullptr);
  EXPECT_NE(hive.FindKey("A B"), nullptr);
  EXPECT_NE(hive.FindKey("AB"), nullptr);
  EXPECT_FALSE(hive.DeleteKey("A"));
}

}  // namespace
}  // namespace pelmorix
