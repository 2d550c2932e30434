#pragma once

#include <string>

#include "http/header_list.h"

namespace pelmorix {

// What a credential object wants done after a challenge.
enum class TIdAuthWhatsNext { wnAskTheProgram, wnDoRequest, wnFail };

// Credentials for one scheme: the user name and password exactly as given (a header list would
// trim them and fold long ones at their blanks and commas), and beside them the challenge
// lines of the server.
class TIdAuthentication {
 public:
  TIdAuthentication() = default;
  virtual ~TIdAuthentication() = default;
  TIdAuthentication(const TIdAuthentication&) = delete;
  TIdAuthentication& operator=(const TIdAuthentication&) = delete;

  virtual const char* ClassName() const { return "TIdAuthentication"; }
  // Advances the exchange by one step.
  virtual TIdAuthWhatsNext Next() = 0;
  virtual int Steps() const { return 0; }
  virtual void SetPassword(const std::string& password);
  virtual void SetUsername(const std::string& username);
  // Starts counting attempts afresh.
  virtual void Reset();
  // The value of the "Authorization" line.
  virtual std::string Authentication() = 0;

  const std::string& Username() const { return username_; }
  const std::string& Password() const { return password_; }
  // The challenge lines ("WWW-Authenticate" values) of the last reply.
  TIdHeaderList& AuthParams() { return authParams_; }
  int AuthRetries() const { return authRetries_; }
  int CurrentStep() const { return currentStep_; }

 protected:
  int authRetries_ = 0;
  int currentStep_ = 0;

 private:
  std::string username_;
  std::string password_;
  TIdHeaderList authParams_;
};

// The "Basic" scheme: the user name and password in base64, sent in one step.
class TIdBasicAuthentication : public TIdAuthentication {
 public:
  const char* ClassName() const override { return "TIdBasicAuthentication"; }
  // Counts an attempt; sends when there is a user name and asks the program otherwise.
  TIdAuthWhatsNext Next() override;
  int Steps() const override { return 1; }
  void Reset() override;
  std::string Authentication() override;
};

}  // namespace pelmorix
