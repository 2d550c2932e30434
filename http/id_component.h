#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "http/socket_layer.h"

namespace pelmorix {

enum TIdStatus {
  hsResolving,
  hsConnecting,
  hsConnected,
  hsDisconnecting,
  hsDisconnected,
  hsStatusText,
  ftpTransfer,
  ftpReady,
  ftpAborted
};

enum TWorkMode { wmRead, wmWrite };

class TIdComponent;

using TIdNotifyEvent = std::function<void(TIdComponent* sender)>;
using TIdStatusEvent =
    std::function<void(TIdComponent* sender, TIdStatus status, const std::string& statusText)>;
using TWorkBeginEvent =
    std::function<void(TIdComponent* sender, TWorkMode mode, int64_t workCountMax)>;
using TWorkEvent = std::function<void(TIdComponent* sender, TWorkMode mode, int64_t workCount)>;
using TWorkEndEvent = std::function<void(TIdComponent* sender, TWorkMode mode)>;

class TIdBaseComponent {
 public:
  TIdBaseComponent() = default;
  virtual ~TIdBaseComponent() = default;
  TIdBaseComponent(const TIdBaseComponent&) = delete;
  TIdBaseComponent& operator=(const TIdBaseComponent&) = delete;
};

// A part of the HTTP client that reports status texts and read/write progress. Every
// component keeps the socket stack of its layer alive while it exists.
class TIdComponent : public TIdBaseComponent {
 public:
  explicit TIdComponent(TIdSocketLayer& layer = TIdSocketLayer::Process());
  ~TIdComponent() override;

  TIdStatusEvent OnStatus;
  TWorkBeginEvent OnWorkBegin;
  TWorkEvent OnWork;  // carries the running total of the phase
  TWorkEndEvent OnWorkEnd;

  // Calls OnStatus, when set, with the status's text formatted with the argument.
  void ReportStatus(TIdStatus status, const std::string& argument = "");
  // Work phases nest per mode; only the outermost begin and end raise events.
  void StartWork(TWorkMode mode, int64_t workCountMax = 0);
  void AdvanceWork(TWorkMode mode, int64_t count);
  void FinishWork(TWorkMode mode);

  TIdSocketLayer& SocketLayer() { return layer_; }
  TIdStack& Stack() { return layer_.Stack(); }

 private:
  struct TWorkState {
    int level = 0;
    int64_t maximum = 0;
    int64_t position = 0;
  };

  TIdSocketLayer& layer_;
  TWorkState work_[2];
};

}  // namespace pelmorix
