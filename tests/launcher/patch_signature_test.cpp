#include "launcher/patch_signature.h"

#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/exception.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {

// Made by the build from the two test keys, as the launcher's keys are from PELMORIX_PATCH_KEY.
const std::vector<std::string>& TestPatchKeys();

namespace {

const std::string kData = PELMORIX_SOURCE_DIR "/tests/data/patch-signature/";

std::string Read(const std::string& name) { return ReadTextFile(kData + name); }

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& error) {
    return Cp1252ToUtf8(error.Message());
  }
  return "(no error)";
}

struct SignedPatch {
  std::string List, Digests, Signature;
};

SignedPatch Published() {
  return {Read("publish/list.txt"), Read("publish/list.txt.sha256"), Read("publish/list.txt.sig")};
}

TEST(PatchSignature, SignaturesBesideTheListAddress) {
  EXPECT_EQ(PatchSignatureUrl("http://h/p/list.txt"), "http://h/p/list.txt.sig");
  EXPECT_EQ(PatchDigestsUrl("http://h/index.php?action=getlist&id=101"),
            "http://h/index.php.sha256?action=getlist&id=101");
}

TEST(PatchSignature, TrustedKeysAreBuiltIn) {
  EXPECT_EQ(TestPatchKeys(),
            (std::vector<std::string>{Read("key-a-public.pem"), Read("key-b-public.pem")}));
}

TEST(PatchSignature, AcceptsPatchesSignedByPublishAndByOpenssl) {
  const TPatchSignature keyA({Read("key-a-public.pem")});
  const SignedPatch published = Published();
  const TPatchDigests digests =
      keyA.Verify("101", "1", published.List, published.Digests, published.Signature);
  EXPECT_EQ(digests.size(), 2u);
  EXPECT_NO_THROW(keyA.Verify("101", "1", Read("openssl/list.txt"), Read("openssl/list.txt.sha256"),
                              Read("openssl/list.txt.sig")));
  // A launcher that trusts an old and a new key takes signatures by either.
  EXPECT_NO_THROW(TPatchSignature(TestPatchKeys())
                      .Verify("101", "1", published.List, published.Digests,
                              Read("publish/list.txt.sig-by-key-b")));
  EXPECT_NO_THROW(CheckPatchFile(digests, "a.txt", kData + "files/a.txt"));
  EXPECT_NO_THROW(CheckPatchFile(digests, "b.bin", kData + "files/b.bin"));
}

TEST(PatchSignature, RefusesWhatTheSignatureDoesNotCover) {
  const TPatchSignature keyA({Read("key-a-public.pem")});
  const SignedPatch good = Published();
  SignedPatch otherTarget = good;
  otherTarget.List.replace(otherTarget.List.find("Spiele"), 6, "System");
  SignedPatch otherDigest = good;
  otherDigest.Digests[0] = otherDigest.Digests[0] == '0' ? '1' : '0';
  SignedPatch unsigned_ = good;
  unsigned_.Signature.clear();
  SignedPatch byKeyB = good;
  byKeyB.Signature = Read("publish/list.txt.sig-by-key-b");
  const struct {
    const char* what;
    std::string id, type;
    SignedPatch patch;
  } cases[] = {
      {"tampered list", "101", "1", otherTarget},
      {"tampered digest", "101", "1", otherDigest},
      {"missing signature", "101", "1", unsigned_},
      {"signature by an untrusted key", "101", "1", byKeyB},
      {"another installation", "102", "1", good},
      {"another type", "101", "2", good},
      {"type with a line break", "101", "1\nlist 0", good},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MessageOf([&] {
                keyA.Verify(c.id, c.type, c.patch.List, c.patch.Digests, c.patch.Signature);
              }),
              "Die Signatur des Updates ist ungültig");
  }
}

TEST(PatchSignature, RefusesFileWhoseDigestDiffers) {
  TTempFolder folder;
  WriteTextFile(folder / "a.txt", "first file\n!");
  const TPatchDigests digests =
      TPatchSignature({Read("key-a-public.pem")})
          .Verify("101", "1", Published().List, Published().Digests, Published().Signature);
  EXPECT_EQ(MessageOf([&] { CheckPatchFile(digests, "a.txt", folder / "a.txt"); }),
            "Die Datei a.txt ist beschädigt");
}

TEST(PatchDigests, MalformedDigestsFileRefused) {
  const std::string line =
      "7ca46ed8705ae80e983715aa2d60e4c49c87465c9d9467cafddf02bfadf6fc77  a.txt\n";
  EXPECT_EQ(ParsePatchDigests(line + line).size(), 1u);
  EXPECT_EQ(ParsePatchDigests("7CA46ED8705AE80E983715AA2D60E4C49C87465C9D9467CAFDDF02BFADF6FC77 *a")
                .count("a"),
            1u);
  for (const std::string& bad : {line.substr(1), "\n" + line, line.substr(0, 64) + "\ta.txt",
                                 "g" + line.substr(1), line + "0" + line.substr(1)}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(MessageOf([&] { ParsePatchDigests(bad); }), "Die Signatur des Updates ist ungültig");
  }
}

}  // namespace
}  // namespace pelmorix
