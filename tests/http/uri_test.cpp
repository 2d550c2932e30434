#include <gtest/gtest.h>

#include "http/merge_path.h"
#include "http/uri.h"

namespace pelmorix {
namespace {

struct Parts {
  std::string Protocol, Username, Password, Host, Port, Path, Document, Params, Bookmark;
  bool operator==(const Parts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Parts& p) {
  return out << "[" << p.Protocol << "|" << p.Username << "|" << p.Password << "|" << p.Host << "|"
             << p.Port << "|" << p.Path << "|" << p.Document << "|" << p.Params << "|" << p.Bookmark
             << "]";
}

Parts Split(const std::string& text) {
  const TIdURI uri(text);
  return {uri.Protocol, uri.Username, uri.Password, uri.Host,    uri.Port,
          uri.Path,     uri.Document, uri.Params,   uri.Bookmark};
}

TEST(URI, SplitsAbsoluteUrls) {
  EXPECT_EQ(Split("http://www.example.com/starter/index.php?action=getbutton&param1=7"),
            (Parts{"http", "", "", "www.example.com", "", "/starter/", "index.php",
                   "?action=getbutton&param1=7", ""}));
  EXPECT_EQ(Split("http://host"), (Parts{"http", "", "", "host", "", "/", "", "", ""}));
  EXPECT_EQ(Split("http://host:8080"), (Parts{"http", "", "", "host", "8080", "/", "", "", ""}));
  // The host part ends only at the first "/".
  EXPECT_EQ(Split("http://host?x=1"), (Parts{"http", "", "", "host?x=1", "", "/", "", "", ""}));
  // Backslashes count as slashes, in the params too.
  EXPECT_EQ(Split("http://host\\a\\b.php?x=\\y"),
            (Parts{"http", "", "", "host", "", "/a/", "b.php", "?x=/y", ""}));
  // A "/" inside the params does not move the path.
  EXPECT_EQ(Split("http://h/a/b?c=/d/e"),
            (Parts{"http", "", "", "h", "", "/a/", "b", "?c=/d/e", ""}));
  // Without a "?" the params begin at the first "=".
  EXPECT_EQ(Split("http://h/a/b=c"), (Parts{"http", "", "", "h", "", "/a/", "b", "=c", ""}));
}

TEST(URI, SplitsBookmarksAndUserInfo) {
  EXPECT_EQ(Split("http://h/doc.php#top"),
            (Parts{"http", "", "", "h", "", "/", "doc.php", "", "top"}));
  EXPECT_EQ(Split("http://h/doc.php?x=1#top"),
            (Parts{"http", "", "", "h", "", "/", "doc.php", "?x=1", "top"}));
  EXPECT_EQ(Split("http://user:pw@h:81/"),
            (Parts{"http", "user", "pw", "h", "81", "/", "", "", ""}));
  EXPECT_EQ(Split("http://user@h/"), (Parts{"http", "user", "", "h", "", "/", "", "", ""}));
  EXPECT_EQ(Split("http://:pw@h/"), (Parts{"http", "", "", "h", "", "/", "", "", ""}));
}

TEST(URI, SplitsRelativeUrls) {
  EXPECT_EQ(Split("sub/doc.php?x=1"), (Parts{"", "", "", "", "", "sub/", "doc.php", "?x=1", ""}));
  EXPECT_EQ(Split("doc.php"), (Parts{"", "", "", "", "", "", "doc.php", "", ""}));
  EXPECT_EQ(Split("../a/"), (Parts{"", "", "", "", "", "../a/", "", "", ""}));
  // A bookmark of a relative URL is split off as well.
  EXPECT_EQ(Split("doc.php#top"), (Parts{"", "", "", "", "", "", "doc.php", "", "top"}));
  EXPECT_EQ(Split("doc.php?a#top"), (Parts{"", "", "", "", "", "", "doc.php", "?a", "top"}));
}

TEST(URI, ComposesAndRefusesMissingParts) {
  TIdURI uri("http://user:pw@h:81/a/b.php?x=1#top");
  EXPECT_EQ(uri.GetFullURI(), "http://user:pw@h:81/a/b.php?x=1#top");
  EXPECT_EQ(uri.GetFullURI(false, true), "http://h:81/a/b.php?x=1#top");
  uri.URI.clear();
  EXPECT_EQ(uri.GetURI(), "http://h:81/a/b.php?x=1");
  EXPECT_EQ(uri.URI, "http://user:pw@h:81/a/b.php?x=1#top");
  uri.Password.clear();
  EXPECT_EQ(uri.GetFullURI(true, false), "http://user@h:81/a/b.php?x=1");

  TIdURI relative("doc.php");
  try {
    relative.GetFullURI();
    FAIL();
  } catch (const EIdURIException& e) {
    EXPECT_EQ(e.Message(), "Protocol field is empty");
    EXPECT_STREQ(e.ClassName(), "EIdURIException");
  }
  relative.Protocol = "http";
  try {
    relative.GetFullURI();
    FAIL();
  } catch (const EIdURIException& e) {
    EXPECT_EQ(e.Message(), "Host field is empty");
  }
}

TEST(MergePath, ResolvesRelativePathsAndTakesAbsoluteOnes) {
  EXPECT_EQ(MergePath("/x/", "/a/../b"), "/a/../b");
  EXPECT_EQ(MergePath("/a/c/", "../b"), "/a/b");
  EXPECT_EQ(MergePath("/a/c", "../b"), "/a/b");
  EXPECT_EQ(MergePath("/a/b/", ".."), "/a");
  EXPECT_EQ(MergePath("/", "../../x"), "/x");
  EXPECT_EQ(MergePath("/starter/", ""), "/starter/");
  EXPECT_EQ(MergePath("/a/", "b//c/"), "/a/b/c/");
  EXPECT_EQ(MergePath("/a/", "b//c"), "/a/b/c");
  EXPECT_EQ(MergePath("/a/", "./x"), "/a/./x");
  // Only a whole ".." segment climbs.
  EXPECT_EQ(MergePath("/a/", "x..y/..z"), "/a/x..y/..z");
  EXPECT_EQ(MergePath("/a/b/", "../..c/"), "/a/..c/");
  EXPECT_EQ(MergePath("", ""), "");
}

}  // namespace
}  // namespace pelmorix
