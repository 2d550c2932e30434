#include "platform/jpeg/jpeg_decoder.h"

#include <climits>
#include <utility>

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>
// wincodec.h needs windows.h first.
#include <wincodec.h>

namespace pelmorix {
namespace {

template <typename TInterface>
void Release(TInterface*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

}  // namespace

struct TJpegDecoder::TState {
  explicit TState(const std::string& data) : Data(data) {}
  ~TState() {
    Release(Frame);
    Release(Decoder);
    Release(Stream);
    Release(Factory);
    if (ComStarted) ::CoUninitialize();
  }

  // 0 for a call that succeeded; else the code part of its answer, kept for the later steps.
  int Check(HRESULT answer) {
    if (SUCCEEDED(answer)) return 0;
    const int code = HRESULT_CODE(answer);
    Failure = code != 0 ? code : -1;
    return Failure;
  }

  int Open();

  const std::string& Data;
  bool ComStarted = false;
  IWICImagingFactory* Factory = nullptr;
  IWICStream* Stream = nullptr;
  IWICBitmapDecoder* Decoder = nullptr;
  IWICBitmapFrameDecode* Frame = nullptr;
  UINT Width = 0;
  UINT Height = 0;
  int Failure = 0;
};

// The first frame of the bytes, read by the JPEG decoder only: other picture formats fail as
// a JPEG decoder fails on them.
int TJpegDecoder::TState::Open() {
  // The window thread hosts the browser control in a single-threaded apartment; a thread that
  // has COM in the other mode already can use it as it is.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ComStarted = SUCCEEDED(com);
  if (Data.size() > UINT_MAX) return Check(E_OUTOFMEMORY);
  int failure = Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&Factory)));
  if (failure == 0) failure = Check(Factory->CreateStream(&Stream));
  if (failure == 0) {
    auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(Data.data()));
    failure = Check(Stream->InitializeFromMemory(bytes, static_cast<DWORD>(Data.size())));
  }
  if (failure == 0)
    failure = Check(Factory->CreateDecoder(GUID_ContainerFormatJpeg, nullptr, &Decoder));
  if (failure == 0) failure = Check(Decoder->Initialize(Stream, WICDecodeMetadataCacheOnDemand));
  if (failure == 0) failure = Check(Decoder->GetFrame(0, &Frame));
  if (failure == 0) failure = Check(Frame->GetSize(&Width, &Height));
  return failure;
}

TJpegDecoder::TJpegDecoder(const std::string& data, bool)
    : state_(std::make_unique<TState>(data)) {}

TJpegDecoder::~TJpegDecoder() = default;

int TJpegDecoder::PictureTooLargeCode() { return HRESULT_CODE(WINCODEC_ERR_IMAGESIZEOUTOFRANGE); }

int TJpegDecoder::ReadHeader(int& width, int& height) {
  TState& state = *state_;
  if (state.Failure != 0) return state.Failure;
  if (state.Open() != 0) return state.Failure;
  if (state.Width > INT_MAX || state.Height > INT_MAX) return state.Check(E_OUTOFMEMORY);
  width = static_cast<int>(state.Width);
  height = static_cast<int>(state.Height);
  return 0;
}

int TJpegDecoder::ReadPixels(std::vector<uint8_t>& pixels) {
  TState& state = *state_;
  if (state.Failure != 0) return state.Failure;
  if (state.Frame == nullptr) return state.Failure = -1;
  const uint64_t stride = uint64_t{state.Width} * 3;
  const uint64_t size = stride * state.Height;
  if (size > UINT_MAX) return state.Check(E_OUTOFMEMORY);
  // The system's decoders all give blue, green, red; the rows are turned round afterwards.
  IWICFormatConverter* converter = nullptr;
  int failure = state.Check(state.Factory->CreateFormatConverter(&converter));
  if (failure == 0) {
    failure = state.Check(converter->Initialize(state.Frame, GUID_WICPixelFormat24bppBGR,
                                                WICBitmapDitherTypeNone, nullptr, 0.0,
                                                WICBitmapPaletteTypeCustom));
  }
  if (failure == 0) {
    pixels.resize(static_cast<size_t>(size));
    failure = state.Check(converter->CopyPixels(nullptr, static_cast<UINT>(stride),
                                                static_cast<UINT>(size), pixels.data()));
  }
  Release(converter);
  if (failure != 0) return failure;
  for (size_t i = 0; i + 2 < pixels.size(); i += 3) std::swap(pixels[i], pixels[i + 2]);
  return 0;
}

}  // namespace pelmorix
