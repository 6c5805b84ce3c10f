#include "panel/ui/panel_run.h"

namespace {

void CopyName(const char* name, char* out) {
  size_t i = 0;
  for (; name != nullptr && name[i] != '\0' && i + 1 < kOutputNameCapacity; ++i) out[i] = name[i];
  out[i] = '\0';
}

}  // namespace

void PanelRun::LoadStored() { LoadSettings(settings_, store_, outputName_); }

LoadResult PanelRun::TakeFile(const char* path) {
  PanelSettings loaded = settings_;
  const LoadResult result = LoadSettingsFile(files_, path, settings_, &loaded);
  if (result.outcome == LoadOutcome::Loaded) messages_.Adopt(loaded);
  return result;
}

void PanelRun::Push() {
  if (!outputChosen_ && relay_.output != nullptr) {
    relay_.output->Choose(outputName_);
    outputChosen_ = true;
  }
  controller_.StartupPush();
  reportingFaults_ = true;
}

void PanelRun::Start(const char* startFile) {
  startFile_ = startFile;
  if (startFile != nullptr) startLoad_ = TakeFile(startFile);
  controller_.NameTarget();
  Push();
}

void PanelRun::TellStartNotices() {
  if (startFile_ != nullptr && startLoad_.outcome != LoadOutcome::Loaded) notices_.FileNotLoaded(startLoad_, startFile_);
  startFile_ = nullptr;
  TellNewFault();
}

int PanelRun::Send(const char* file) {
  if (file != nullptr) {
    const LoadResult result = TakeFile(file);
    if (result.outcome != LoadOutcome::Loaded) {
      notices_.FileNotLoaded(result, file);
      return kExitBadStart;
    }
  }
  Push();
  // A fault told before (the running panel's) still means the card got nothing.
  const bool told = TellNewFault();
  return told || (relay_.output != nullptr && relay_.output->Faults().Lasts()) ? kExitCardUnreachable : kExitDone;
}

int PanelRun::SendWithoutWindow(const char* file) {
  const int code = Send(file);
  if (file != nullptr && code != kExitBadStart) End();
  return code;
}

LoadResult PanelRun::LoadFile(const char* path) {
  const LoadResult result = TakeFile(path);
  if (result.outcome == LoadOutcome::Loaded) {
    Push();
  } else {
    notices_.FileNotLoaded(result, path);
  }
  return result;
}

int PanelRun::Serve(PanelRequest request, const char* file) {
  switch (request) {
    case PanelRequest::Front:
      return kExitDone;
    case PanelRequest::Send:
      return Send(file);
    case PanelRequest::Load:
      break;
  }
  const bool taken = file != nullptr && LoadFile(file).outcome == LoadOutcome::Loaded;
  TellNewFault();
  return taken ? kExitDone : kExitBadStart;
}

void PanelRun::ChooseOutput(const char* name) {
  CopyName(name, outputName_);
  outputChosen_ = false;
  Push();
}

void PanelRun::Panic() {
  if (relay_.output != nullptr) relay_.output->Panic();
}

bool PanelRun::TellNewFault() {
  if (!reportingFaults_ || relay_.output == nullptr) return false;
  const OutputFault fault = relay_.output->TakeNewFault();
  const int stringId = OutputFaultStringId(fault.kind);
  if (stringId == 0) return false;
  notices_.OutputFailed({stringId, PortBase(), fault});
  return true;
}
