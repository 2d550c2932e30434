#include "platform/signature/signature_check.h"

#include <gtest/gtest.h>

#include "platform/signature/der_signature.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

const std::string kData = PELMORIX_SOURCE_DIR "/tests/data/patch-signature/";

std::string Hex(const std::string& bytes) {
  std::string hex;
  for (const char byte : bytes) {
    static const char kDigits[] = "0123456789abcdef";
    hex += kDigits[static_cast<unsigned char>(byte) >> 4];
    hex += kDigits[static_cast<unsigned char>(byte) & 15];
  }
  return hex;
}

TEST(Sha256, KnownDigestWholeAndInPieces) {
  const std::string text = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  EXPECT_EQ(Hex(Sha256(text)), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  TSha256 pieces;
  pieces.Update(text.data(), 5);
  pieces.Update(text.data() + 5, 0);
  pieces.Update(text.data() + 5, text.size() - 5);
  EXPECT_EQ(pieces.Final(), Sha256(text));
}

class SignatureCheck : public ::testing::Test {
 protected:
  const std::string keyA = ReadTextFile(kData + "key-a-public.pem");
  const std::string keyB = ReadTextFile(kData + "key-b-public.pem");
  const std::string message = ReadTextFile(kData + "openssl/message");
  const std::string signature = ReadTextFile(kData + "openssl/list.txt.sig");
};

TEST_F(SignatureCheck, OpensslSignatureVerifiesOnlyWithItsKeyAndMessage) {
  ASSERT_FALSE(keyA.empty());
  ASSERT_FALSE(message.empty());
  EXPECT_TRUE(VerifyP256Signature(keyA, message, signature));
  EXPECT_FALSE(VerifyP256Signature(keyB, message, signature));
  EXPECT_FALSE(VerifyP256Signature(keyA, message + " ", signature));
  EXPECT_FALSE(VerifyP256Signature(keyA, message, ""));
  EXPECT_FALSE(VerifyP256Signature("", message, signature));
  EXPECT_FALSE(VerifyP256Signature("-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n",
                                   message, signature));
}

// The same r and s in DER that is not strict: each must be refused by the check itself, not only
// by the reader, on both systems.
TEST_F(SignatureCheck, MalformedDerRefused) {
  std::string raw;
  ASSERT_TRUE(DerSignatureToRaw(signature, raw));
  ASSERT_EQ(raw.size(), 64u);
  const std::string r = signature.substr(2, 2 + static_cast<uint8_t>(signature[3]));
  const std::string s = signature.substr(2 + r.size());
  const auto sequence = [](const std::string& body) {
    return std::string("\x30", 1) + static_cast<char>(body.size()) + body;
  };
  ASSERT_EQ(sequence(r + s), signature);
  // r with a needless leading zero, whatever its first byte.
  const std::string paddedR =
      std::string("\x02", 1) + static_cast<char>(r.size() - 1) + std::string(1, '\0') + r.substr(2);
  const std::string longForm =
      std::string("\x30\x81", 2) + static_cast<char>(signature.size() - 2) + signature.substr(2);
  const std::string negativeS("\x02\x01\x80", 3);
  const std::string zeroR("\x02\x01\x00", 3);
  const std::string malformed[] = {
      signature + std::string(1, '\0'),                  // bytes after the sequence
      longForm,                                          // long-form length
      sequence(r + s + std::string("\x02\x01\x01", 3)),  // a third integer
      sequence(r),                                       // s missing
      sequence(paddedR + s),                             // non-minimal integer
      sequence(r + negativeS),                           // negative s
      sequence(zeroR + s),                               // zero r
      std::string("\x31", 1) + signature.substr(1),      // a SET, not a SEQUENCE
      signature.substr(0, signature.size() - 1),         // cut short
  };
  for (const std::string& der : malformed) {
    SCOPED_TRACE(Hex(der));
    EXPECT_FALSE(DerSignatureToRaw(der, raw));
    EXPECT_FALSE(VerifyP256Signature(keyA, message, der));
  }
}

}  // namespace
}  // namespace pelmorix
