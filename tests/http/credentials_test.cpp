#include <gtest/gtest.h>

#include "http/authentication.h"
#include "http/authentication_schemes.h"
#include "http/encoder_mime.h"

namespace pelmorix {
namespace {

TEST(EncoderMime, EncodesWithFill) {
  EXPECT_EQ(TIdEncoderMIME::Encode(""), "");
  EXPECT_EQ(TIdEncoderMIME::Encode("M"), "TQ==");
  EXPECT_EQ(TIdEncoderMIME::Encode("Ma"), "TWE=");
  EXPECT_EQ(TIdEncoderMIME::Encode("Man"), "TWFu");
  EXPECT_EQ(TIdEncoderMIME::Encode(std::string("\xFF\xFE\x00\x01", 4)), "//4AAQ==");
  EXPECT_EQ(TIdEncoderMIME::Encode(std::string("\0\0\0", 3)), "AAAA");
  const std::string long_text(100, '\xFB');
  const std::string encoded = TIdEncoderMIME::Encode(long_text);
  EXPECT_EQ(encoded.size(), 4u * (100 + 2) / 3);
  EXPECT_EQ(encoded.find('\n'), std::string::npos);
  EXPECT_EQ(encoded.substr(0, 4), "+/v7");
}

TEST(BasicAuthentication, BuildsTheAuthorizationText) {
  TIdBasicAuthentication auth;
  EXPECT_EQ(auth.Authentication(), "Basic Og==");  // ":" alone
  auth.SetUsername("Aladdin");
  auth.SetPassword("open sesame");
  EXPECT_EQ(auth.Authentication(), "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
  EXPECT_EQ(auth.Username(), "Aladdin");
  EXPECT_EQ(auth.Steps(), 1);
}

TEST(BasicAuthentication, KeepsTheUserNameAndPasswordAsGiven) {
  // Blanks at the ends, and a password long enough to be folded at its commas in a header list.
  const std::string password = " pw, " + std::string(80, 'p') + ",x ";
  TIdBasicAuthentication auth;
  auth.SetUsername(" user ");
  auth.SetPassword(password);
  EXPECT_EQ(auth.Username(), " user ");
  EXPECT_EQ(auth.Password(), password);
  EXPECT_EQ(auth.Authentication(), "Basic " + TIdEncoderMIME::Encode(" user :" + password));
}

TEST(BasicAuthentication, CountsAttemptsAndAsksWithoutAUserName) {
  TIdBasicAuthentication auth;
  EXPECT_EQ(auth.Next(), TIdAuthWhatsNext::wnAskTheProgram);
  auth.SetUsername("u");
  EXPECT_EQ(auth.Next(), TIdAuthWhatsNext::wnDoRequest);
  EXPECT_EQ(auth.AuthRetries(), 2);
  auth.Reset();
  EXPECT_EQ(auth.AuthRetries(), 0);
  EXPECT_EQ(auth.CurrentStep(), 0);
}

TEST(AuthenticationSchemes, FindsByNameAndRefusesASecondRegistration) {
  const TIdAuthenticationClass* basic = RegisteredAuthenticationSchemes().Find("bAsIc");
  ASSERT_NE(basic, nullptr);
  EXPECT_STREQ(basic->ClassName, "TIdBasicAuthentication");
  EXPECT_STREQ(basic->Create()->ClassName(), "TIdBasicAuthentication");
  EXPECT_EQ(RegisteredAuthenticationSchemes().Find("Digest"), nullptr);

  TIdAuthenticationSchemes schemes;
  EXPECT_EQ(schemes.Find("Basic"), nullptr);
  schemes.Register("Basic", BasicAuthenticationClass());
  try {
    schemes.Register("BASIC", BasicAuthenticationClass());
    FAIL() << "registering twice must raise";
  } catch (const EIdAlreadyRegisteredAuthenticationMethod& e) {
    EXPECT_EQ(e.Message(),
              "This authentication method is already registered with class name "
              "TIdBasicAuthentication.");
    EXPECT_STREQ(e.ClassName(), "EIdAlreadyRegisteredAuthenticationMethod");
  }
  schemes.Unregister("basic");
  EXPECT_EQ(schemes.Find("Basic"), nullptr);
}

}  // namespace
}  // namespace pelmorix
