#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/convert.h"
#include "http/cookie_manager.h"
#include "http/internet_date.h"

namespace pelmorix {
namespace {

constexpr const char* kHost = "www.example.com";

std::string TextFor(TIdCookieManager& store, const std::string& url, bool secure = false) {
  return store.CookieTextFor(TIdURI(url), secure);
}

TEST(CookieManager, MatchesDomainAndPath) {
  TIdCookieManager store;
  store.AddCookie("host=1", kHost);
  store.AddCookie("dir=2; path=/starter/", kHost);
  store.AddCookie("doc=3; path=/starter/index.php", kHost);
  store.AddCookie("wide=4; domain=example.com; path=/", kHost);
  store.AddCookie("sibling=5; domain=other.example.com", kHost);
  EXPECT_EQ(store.Cookies().Count(), 4);  // the sibling's cookie is dropped at once

  // A cookie without a path has the empty path, which sorts last.
  EXPECT_EQ(TextFor(store, "http://www.example.com/starter/index.php?x=1"),
            "dir=2; wide=4; host=1");
  EXPECT_EQ(TextFor(store, "http://www.example.com/starter/sub/"), "dir=2; wide=4; host=1");
  EXPECT_EQ(TextFor(store, "http://WWW.EXAMPLE.COM/other/"), "wide=4; host=1");
  EXPECT_EQ(TextFor(store, "http://cdn.example.com/"), "wide=4");
  EXPECT_EQ(TextFor(store, "http://elsewhere.org/"), "");
}

TEST(CookieManager, ACookieGoesOnlyToHostsItsDomainCovers) {
  TIdCookieManager store;
  store.AddCookie("vendor=1; domain=example.com; path=/", kHost);
  store.AddCookie("host=2; path=/", kHost);
  EXPECT_EQ(TextFor(store, "http://shop.example.com/"), "vendor=1");
  // Names and paths that merely hold the domain are other hosts.
  for (const char* url :
       {"http://elsewhere.org/www.example.com/", "http://elsewhere.org/example.com",
        "http://notexample.com/", "http://example.com.elsewhere.org/"}) {
    EXPECT_EQ(TextFor(store, url), "") << url;
  }
}

TEST(CookieManager, ACookieWithoutADomainGoesBackOnlyToItsHost) {
  TIdCookieManager store;
  store.AddCookie("own=1; path=/", "example.com");
  store.AddCookie("wide=2; domain=example.com; path=/", "example.com");
  EXPECT_EQ(TextFor(store, "http://example.com/"), "wide=2; own=1");
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "wide=2");
  // Set again under the same domain and path, a cookie takes the new one's reach.
  store.AddCookie("own=3; domain=example.com; path=/", "example.com");
  store.AddCookie("wide=4; path=/", "example.com");
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "own=3");
  EXPECT_EQ(TextFor(store, "http://example.com/"), "wide=4; own=3");
}

TEST(CookieManager, APathCoversOnlyWholeSegmentsBelowIt) {
  TIdCookieManager store;
  store.AddCookie("bare=1; path=/a", kHost);
  store.AddCookie("slash=2; path=/a/", kHost);
  EXPECT_EQ(TextFor(store, "http://www.example.com/a/b"), "slash=2; bare=1");
  EXPECT_EQ(TextFor(store, "http://www.example.com/a/b/c"), "slash=2; bare=1");
  EXPECT_EQ(TextFor(store, "http://www.example.com/ab/"), "");
  EXPECT_EQ(TextFor(store, "http://www.example.com/ab"), "");
}

TEST(CookieManager, APlainReplyLeavesSecureCookiesAlone) {
  TIdCookieManager store;
  store.AddCookie("forged=1; path=/; secure", kHost, false);
  EXPECT_EQ(store.Cookies().Count(), 0);

  store.AddCookie("sid=tls; path=/; secure", kHost, true);
  // Neither replaced, nor deleted, nor shadowed by a cookie of its name under its path or an
  // overlapping domain.
  store.AddCookie("sid=plain; path=/", kHost, false);
  store.AddCookie("sid=; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT", kHost, false);
  store.AddCookie("SID=plain; path=/admin/", kHost, false);
  store.AddCookie("sid=plain; domain=example.com; path=/", kHost, false);
  store.AddCookie("sid=plain; path=/", "example.com", false);
  EXPECT_EQ(TextFor(store, "http://www.example.com/admin/", true), "sid=tls");
  EXPECT_EQ(TextFor(store, "http://example.com/", true), "");
  // Other names, and hosts the secure cookie does not reach, are the plain reply's to set.
  store.AddCookie("lang=de; path=/", kHost, false);
  store.AddCookie("sid=other; path=/", "shop.example.com", false);
  EXPECT_EQ(TextFor(store, "http://www.example.com/", true), "lang=de; sid=tls");
  EXPECT_EQ(TextFor(store, "http://shop.example.com/"), "sid=other");

  // Once an SSL reply makes it plain, or it expires, the name is free again.
  store.AddCookie("sid=open; path=/", kHost, true);
  store.AddCookie("sid=plain; path=/", kHost, false);
  store.AddCookie("tmp=1; path=/; secure; expires=Thu, 01 Jan 1970 00:00:00 GMT", kHost, true);
  store.AddCookie("tmp=2; path=/", kHost, false);
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "tmp=2; lang=de; sid=plain");
}

TEST(CookieManager, OrdersLongerPathsFirstThenNewerNames) {
  TIdCookieManager store;
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "");
  store.AddCookie("a=1; path=/", kHost);
  store.AddCookie("b=2; path=/starter/", kHost);
  store.AddCookie("c=3; path=/", kHost);
  store.AddCookie("d=4; path=/starter/", kHost);
  store.AddCookie("e=5; domain=example.com; path=/", kHost);
  EXPECT_EQ(TextFor(store, "http://www.example.com/starter/index.php"), "d=4; b=2; c=3; a=1; e=5");
  EXPECT_EQ(TextFor(store, "http://www.example.com/index.php"), "c=3; a=1; e=5");
}

TEST(CookieManager, ReplacesInPlaceAndSkipsEmptyAndSecureValues) {
  TIdCookieManager store;
  store.AddCookie("first=1; path=/", kHost);
  store.AddCookie("sid=old; path=/", kHost);
  store.AddCookie("last=3; path=/", kHost);
  store.AddCookie("SID=new; path=/", kHost);
  EXPECT_EQ(store.Cookies().Count(), 3);
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "last=3; SID=new; first=1");
  store.AddCookie("empty=; path=/", kHost);
  store.AddCookie("safe=1; path=/; secure", kHost, true);
  EXPECT_EQ(store.Cookies().Count(), 5);
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "last=3; SID=new; first=1");
  EXPECT_EQ(TextFor(store, "http://www.example.com/", true), "safe=1; last=3; SID=new; first=1");
}

TEST(CookieManager, ExpiredCookiesAreNeverSent) {
  TIdCookieManager store;
  store.AddCookie("past=1; path=/; expires=Sun, 06 Nov 1994 08:49:37 GMT", kHost);
  store.AddCookie("now=2; path=/; max-age=0", kHost);
  const std::string later = DateTimeToZoneText(Now() + 1);
  store.AddCookie("future=3; path=/; expires=" + later, kHost);
  store.AddCookie("unreadable=4; path=/; expires=soon", kHost);
  // The expiry texts carry whole seconds; let the clock move past the one of max-age 0.
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "future=3");
  EXPECT_EQ(store.Cookies().Count(), 1);
}

TEST(CookieManager, TheCookiesOfOneReplyAskForTheLocalOffsetOnce) {
  TIdCookieManager store;
  int queries = 0;
  TLocalOffsetOnce offset([&] {
    ++queries;
    return LocalOffsetFromUTC();
  });
  const std::string later = DateTimeToZoneText(Now() + 1);
  for (int i = 0; i < 5; ++i) {
    store.AddCookie("c" + std::to_string(i) + "=1; path=/; expires=" + later, kHost, false, offset);
  }
  store.AddCookie("gone=1; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT", kHost, false, offset);
  store.RemoveExpiredCookies(offset);
  EXPECT_EQ(queries, 1);
  EXPECT_EQ(store.Cookies().Count(), 5);

  // A failed query raises and is asked again at the next need.
  int failures = 0;
  TLocalOffsetOnce failing([&]() -> TDateTime {
    if (failures++ == 0) throw std::runtime_error("no time zone");
    return 0;
  });
  EXPECT_THROW(failing.Get(), std::runtime_error);
  EXPECT_EQ(failing.Get(), 0);
  EXPECT_EQ(failures, 2);
}

TEST(CookieManager, AServerCanDeleteACookieBySettingItExpired) {
  TIdCookieManager store;
  store.AddCookie("sid=1; path=/", kHost);
  store.AddCookie("keep=1; path=/", kHost);
  store.AddCookie("sid=; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT", kHost);
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "keep=1");
  store.AddCookie("keep=2; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT", kHost);
  EXPECT_EQ(TextFor(store, "http://www.example.com/"), "");
  EXPECT_EQ(store.Cookies().Count(), 0);
  // A cookie set again with a later expiry keeps that expiry.
  const std::string later = DateTimeToZoneText(Now() + 1);
  store.AddCookie("sid=2; path=/", kHost);
  store.AddCookie("sid=3; path=/; expires=" + later, kHost);
  ASSERT_EQ(store.Cookies().Count(), 1);
  EXPECT_EQ(store.Cookies()[0].Expires(), later);
}

TEST(CookieManager, RaisesItsEventsAndHonoursARefusal) {
  int created = 0, destroyed = 0;
  {
    TIdCookieManager store([&](TIdCookieManager&, TIdCookies& cookies) {
      ++created;
      EXPECT_EQ(cookies.Count(), 0);
    });
    store.OnDestroy = [&](TIdCookieManager&, TIdCookies& cookies) {
      ++destroyed;
      EXPECT_EQ(cookies.Count(), 1);
    };
    store.OnNewCookie = [](TIdCookieManager&, TIdNetscapeCookie& cookie, bool& accept) {
      accept = cookie.CookieName != "tracker";
    };
    store.AddCookie("tracker=1", kHost);
    store.AddCookie("wanted=1", kHost);
    store.AddCookie2("gone=1; max-age=0", kHost);
    EXPECT_EQ(created, 1);
    EXPECT_THROW(store.AddCookie2("p=1; port=\"x\"", kHost), EConvertError);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(CookieManager, ReadersAndAWriterShareTheStore) {
  TIdCookieManager store;
  std::atomic<bool> stop{false};
  std::atomic<int> reads{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&] {
      while (!stop) {
        const std::string text = TextFor(store, "http://www.example.com/");
        EXPECT_TRUE(text.empty() || text.rfind("c", 0) == 0) << text;
        ++reads;
      }
    });
  }
  for (int i = 0; i < 300; ++i) store.AddCookie("c" + IntToStr(i % 50) + "=v; path=/", kHost);
  while (reads < 3) std::this_thread::yield();  // the readers have had their turn too
  stop = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(store.Cookies().Count(), 50);
  EXPECT_GT(reads.load(), 0);
}

}  // namespace
}  // namespace pelmorix
