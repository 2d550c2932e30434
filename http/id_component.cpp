#include "http/id_component.h"

namespace pelmorix {
namespace {

const char* StatusFormat(TIdStatus status) {
  switch (status) {
    case hsResolving:
      return "Resolving hostname %s.";
    case hsConnecting:
      return "Connecting to %s.";
    case hsConnected:
      return "Connected.";
    case hsDisconnecting:
      return "Disconnecting.";
    case hsDisconnected:
      return "Disconnected.";
    default:
      return "%s";
  }
}

}  // namespace

TIdComponent::TIdComponent(TIdSocketLayer& layer) : layer_(layer) { layer_.AddComponent(); }

TIdComponent::~TIdComponent() { layer_.RemoveComponent(); }

void TIdComponent::ReportStatus(TIdStatus status, const std::string& argument) {
  if (!OnStatus) return;
  std::string text = StatusFormat(status);
  const size_t placeholder = text.find("%s");
  if (placeholder != std::string::npos) text.replace(placeholder, 2, argument);
  OnStatus(this, status, text);
}

void TIdComponent::StartWork(TWorkMode mode, int64_t workCountMax) {
  TWorkState& work = work_[mode];
  if (++work.level == 1) {
    work.maximum = workCountMax;
    work.position = 0;
    if (OnWorkBegin) OnWorkBegin(this, mode, workCountMax);
  }
}

void TIdComponent::AdvanceWork(TWorkMode mode, int64_t count) {
  TWorkState& work = work_[mode];
  if (work.level <= 0) return;
  work.position += count;
  if (OnWork) OnWork(this, mode, work.position);
}

void TIdComponent::FinishWork(TWorkMode mode) {
  TWorkState& work = work_[mode];
  if (work.level <= 0) return;
  if (work.level == 1 && OnWorkEnd) OnWorkEnd(this, mode);
  --work.level;
}

}  // namespace pelmorix
