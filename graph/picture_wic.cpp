// The Windows Imaging Component: decoding PNG, JPEG and GIF files in memory
// and encoding PNG files. NOTE: Wine 8's windowscodecs decodes all three
// (through libpng, libjpeg and its own GIF reader) and decodes the whole file
// as the decoder is initialised, not when the pixels are copied: hence the
// container's size checks (picture_forms.cpp) come first.
#include <windows.h>
#include <wincodec.h>

#include "GraphPictureCodecs.h"
#include "picture.h"

namespace {

// COM for the length of one call on the calling thread. A thread already in
// a single-threaded apartment (a program's own COM use) refuses the
// multithreaded one (RPC_E_CHANGED_MODE) and keeps its own, which the imaging
// factory, free-threaded, works in too.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

// Owns one interface pointer.
template <class T> class Com {
public:
    Com() = default;
    ~Com() {
        if (p_ != nullptr) p_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put() { return &p_; }

private:
    T* p_ = nullptr;
};

bool MakeFactory(Com<IWICImagingFactory>& factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put())));
}

const GUID& Container(Graph_PictureForm form) {
    switch (form) {
    case Graph_PictureForm::Png: return GUID_ContainerFormatPng;
    case Graph_PictureForm::Jpeg: return GUID_ContainerFormatJpeg;
    default: return GUID_ContainerFormatGif;
    }
}

} // namespace

bool Graph_DecodeWithImaging(const uint8_t* file, size_t size, const Graph_PictureShape& shape, uint32_t* pixels) {
    if (file == nullptr || pixels == nullptr || size > MAXDWORD || shape.form == Graph_PictureForm::Unknown) {
        return false;
    }
    ComScope com;
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    // The decoder of the form the container showed, not whichever one claims
    // the bytes: a file is read as what it says it is, or not at all.
    if (!com.Usable() || !MakeFactory(factory) || FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file), static_cast<DWORD>(size))) ||
        FAILED(factory->CreateDecoder(Container(shape.form), nullptr, decoder.put())) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        width != shape.width || height != shape.height || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom))) {
        return false;
    }
    // At most 64 MiB (Graph_ReadPictureShape's limit), so a UINT holds it.
    const size_t count = static_cast<size_t>(width) * height;
    const auto bytes = static_cast<UINT>(count * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, bytes, reinterpret_cast<BYTE*>(pixels)))) return false;
    for (size_t i = 0; i < count; ++i) pixels[i] &= 0xFFFFFF; // B, G, R, A in memory: 0xAARRGGBB
    return true;
}

bool Graph_BmpToPng(std::vector<uint8_t>& file) {
    Graph_BmpInfo info;
    if (!Graph_ReadBmpHeader(file.data(), file.size(), &info) || info.bits != 24 || info.topDown) return false;
    ComScope com;
    Com<IWICImagingFactory> factory;
    Com<IStream> memory;
    Com<IWICStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (!com.Usable() || !MakeFactory(factory) || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, memory.put())) ||
        FAILED(factory->CreateStream(stream.put())) || FAILED(stream->InitializeFromIStream(memory.get())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())) || FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(info.width, info.height)) || FAILED(frame->SetPixelFormat(&format)) ||
        format != GUID_WICPixelFormat24bppBGR) {
        return false;
    }
    // The BMP's rows are bottom-up with the stride WIC takes for 24-bit rows:
    // handed over a row at a time, top row first.
    const UINT stride = static_cast<UINT>(info.stride);
    for (uint32_t row = 0; row < info.height; ++row) {
        BYTE* bytes = file.data() + info.offset + static_cast<size_t>(info.height - 1 - row) * info.stride;
        if (FAILED(frame->WritePixels(1, stride, stride, bytes))) return false;
    }
    STATSTG stat{};
    HGLOBAL global = nullptr;
    if (FAILED(frame->Commit()) || FAILED(encoder->Commit()) || FAILED(memory->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(GetHGlobalFromStream(memory.get(), &global))) {
        return false;
    }
    const void* bytes = GlobalLock(global);
    if (bytes == nullptr) return false;
    std::vector<uint8_t> png(static_cast<const uint8_t*>(bytes),
                             static_cast<const uint8_t*>(bytes) + static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(global);
    file.swap(png);
    return true;
}
