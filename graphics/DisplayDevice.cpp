// The display device: creation with its fallbacks, present, reset and the release/restore
// walk over every picture.
#include "graphics/DisplayDevice.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "core/ScreenSize.h"
#include "graphics/CSprite.h"
#include "graphics/Textures.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/Text.h"
#include "platform/Window.h"

#include <cmath>
#include <cstring>

namespace {

constexpr uint32_t kClearValue = 8;
constexpr int kWidth = kScreenWidth;
constexpr int kHeight = kScreenHeight;

const std::string& softwareQuestion()
{
    return SJ("ビデオカードのハードウェア３Ｄ支援機能が使用できません。\nソフトウェアモードの場合、動作が非常に遅い、"
              "不安定な場合があります。\nソフトウェアモードで続行しますか？");
}

// The frame's fixed render states.
void setBaseRenderStates(platform::Video& v)
{
    platform::RenderStates& st = v.renderStates();
    st.alphaBlend = true;
    st.textureBlend = platform::TextureBlend::ModulateAlpha;
    st.srcBlend = platform::BlendFactor::SrcAlpha;
    st.dstBlend = platform::BlendFactor::InvSrcAlpha;
    st.magFilter = platform::TextureFilter::Nearest;
    st.minFilter = platform::TextureFilter::Nearest;
}

} // namespace

DisplayProcessState& displayProcess()
{
    static DisplayProcessState state;
    return state;
}

int depthIndexForBits(int bits)
{
    switch (bits) {
    case 8:
        return 1;
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 0;
    }
}

const char* pixelFormatName(const DDPixelFormat& pf)
{
    if (!(pf.flags & DDPixelFormat::kRgb))
        return "Unkown(NotRGB)";
    const char* name = "";
    switch (pf.bitCount) {
    case 8:
        name = "P8";
        if (pf.flags & DDPixelFormat::kPaletteIndexed8)
            name = "INDEX8";
        if (pf.flags & DDPixelFormat::kPaletteIndexedTo8)
            name = "INDEX8(4bit->8bit)";
        if (pf.blueMask == 0xE0)
            name = "R3G3B2";
        if (pf.flags & DDPixelFormat::kAlpha)
            name = "A8";
        if (pf.flags & DDPixelFormat::kPaletteIndexed4)
            name = "INDEX4";
        break;
    case 16:
        name = "UnKnown(16bit)";
        if (pf.alphaMask == 0x8000)
            name = "A1R5G5B5";
        if (pf.alphaMask == 0xF000)
            name = "A4R4G4B4";
        if (pf.alphaMask == 0xFF00 && (pf.flags & DDPixelFormat::kPaletteIndexed8))
            name = "A8P8";
        if (pf.alphaMask == 0xFF00 && pf.blueMask == 0xE0)
            name = "A8R3G3B2";
        if (pf.alphaMask == 0 && pf.redMask == 0x7C00)
            name = "X1R5G5B5";
        if (pf.alphaMask == 0 && pf.redMask == 0xF800)
            name = "R5G6B5";
        if (pf.alphaMask == 0 && pf.redMask == 0x0F00)
            name = "X4R4G4B4";
        break;
    case 24:
        name = "UnKnown(24bit)";
        if (pf.redMask == 0xFF0000)
            name = "R8G8B8";
        break;
    case 32:
        name = "UnKnown(32bit)";
        if (pf.alphaMask == 0xFF000000u)
            name = "A8R8G8B8";
        if (pf.alphaMask == 0x60000000u)
            name = "A2R10G10B10";
        if (pf.alphaMask == 0 && pf.redMask == 0xFF0000)
            name = "X8R8G8B8";
        break;
    default:
        break;
    }
    return name;
}

DDPixelFormat describePixelFormat(platform::PixelFormat f)
{
    DDPixelFormat pf;
    pf.flags = DDPixelFormat::kRgb;
    switch (f) {
    case platform::PixelFormat::A8R8G8B8:
        pf.flags |= DDPixelFormat::kAlphaPixels;
        pf = DDPixelFormat{pf.flags, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u};
        break;
    case platform::PixelFormat::X8R8G8B8:
        pf = DDPixelFormat{pf.flags, 32, 0xFF0000, 0xFF00, 0xFF, 0};
        break;
    case platform::PixelFormat::A4R4G4B4:
        pf.flags |= DDPixelFormat::kAlphaPixels;
        pf = DDPixelFormat{pf.flags, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
        break;
    case platform::PixelFormat::R5G6B5:
        pf = DDPixelFormat{pf.flags, 16, 0xF800, 0x07E0, 0x001F, 0};
        break;
    }
    return pf;
}

bool CDirectX::CreateWindowMode()
{
    platform::Window& window = *display.deviceWindow();
    // A framed window centred in the work area; y never above the top, x not clamped.
    platform::Rect outer = window.adjustWindowRect(kWidth, kHeight);
    int width = std::abs(outer.width()), height = std::abs(outer.height());
    platform::Rect work = window.workArea();
    int x = (work.right - width) / 2;
    int y = (work.bottom - height) / 2;
    if (y < 0)
        y = 0;
    window.setFullscreen(false);
    window.setPosition(x, y);

    if (!sys.video) {
        platform::debugOutput("ADV_SYSTEM: (CDirectX::CreateWindowMode) : CreateDirectDraw Failed\n");
        return false;
    }
    const bool hw = displayProcess().hardware;
    switch (sys.video->open(window, false, hw)) {
    case platform::VideoOpenResult::Ok:
        break;
    case platform::VideoOpenResult::NoVideo:
        platform::debugOutput("ADV_SYSTEM: (CDirectX::CreateWindowMode) : CreateDirectDraw Failed\n");
        return false;
    case platform::VideoOpenResult::NoBackBuffer:
        platform::debugOutput("ADV_SYSTEM: (CDirectX::CreateWindowMode) : CreateBackBufferSurface Failed\n");
        return false;
    case platform::VideoOpenResult::NoRenderer:
    case platform::VideoOpenResult::NoFullscreen:
        platform::debugOutput(hw ? "ADV_SYSTEM: (CDirectX::CreateWindowMode) : CreateD3DDevice(HAL) Failed\n"
                                 : "ADV_SYSTEM: (CDirectX::CreateWindowMode) : CreateD3DDevice(HEL) Failed\n");
        return false;
    }
    display.attach(sys.video);
    sys.video->colorFill(*sys.video->backBuffer(), nullptr, kClearValue);
    return true;
}

bool CDirectX::CreateFullScreenMode()
{
    platform::Window& window = *display.deviceWindow();
    window.setFullscreen(true);
    display.setDesktopBits(window.desktopBitsPerPixel());
    if (!sys.video)
        return false;
    const bool hw = displayProcess().hardware;
    switch (sys.video->open(window, true, hw)) {
    case platform::VideoOpenResult::Ok:
        break;
    case platform::VideoOpenResult::NoVideo:
        return false;
    case platform::VideoOpenResult::NoFullscreen:
        runLog().append(2, "ADV_SYSTEM: (CDirectX::CreateFullScreenMode) : SetDisplayMode Failed");
        return false;
    case platform::VideoOpenResult::NoBackBuffer:
        runLog().append(2, "ADV_SYSTEM: (CDirectX::CreateFullScreenMode) : CreatePrimarySurface Failed");
        return false;
    case platform::VideoOpenResult::NoRenderer:
        platform::debugOutput(hw ? "ADV_SYSTEM: (CDirectX::CreateFullScreenMode) : CreateD3DDevice(HAL) Failed\n"
                                 : "ADV_SYSTEM: (CDirectX::CreateFullScreenMode) : CreateD3DDevice(HEL) Failed\n");
        return false;
    }
    display.attach(sys.video);
    sys.video->colorFill(*sys.video->backBuffer(), nullptr, kClearValue);
    sys.video->renderStates().zEnable = true;
    return true;
}

bool CDirectX::Create(platform::Window* window, bool windowedMode)
{
    display.recordRequest(window, windowedMode);
    if (!window)
        return false;
    display.setDesktopBits(window->desktopBitsPerPixel());
    if (int index = depthIndexForBits(display.desktopBits()))
        displayProcess().desktopDepthIndex = index;
    if (display.deviceReady())
        return false;

    platform::MessageBoxes& boxes = *sys.messageBoxes;
    auto ask = [&](const std::string& text) {
        return boxes.show(window, text, title, platform::MessageBoxType::YesNo) == platform::MessageBoxResult::Yes;
    };
    if (windowedMode) {
        if (!CreateWindowMode()) {
            runLog().append(2, "HAL: WindowMode Failed");
            if (!ask(softwareQuestion()))
                return false;
            displayProcess().hardware = false;
            if (!CreateWindowMode()) {
                runLog().append(2, "HEL: WindowMode Failed");
                return false;
            }
        }
    } else if (!CreateFullScreenMode()) {
        runLog().append(2, "HAL: FullScreenMode Failed");
        if (!ask(softwareQuestion()))
            return false;
        displayProcess().hardware = false;
        if (!CreateFullScreenMode()) {
            runLog().append(2, "HEL: FullScreenMode Failed");
            if (!ask(SJ("フルスクリーンでの起動に失敗しました。\nウィンドウモードで起動しますか？")))
                return false;
            display.fallBackToWindow();
            if (!CreateWindowMode()) {
                runLog().append(2, "HEL: WindowMode Failed");
                return false;
            }
            // The next start opens in a window straight away.
            saveConfig();
        }
    }

    platform::Video& video = *display.directDraw();
    const uint32_t createdAt = sys.clock->now();
    setBaseRenderStates(video);

    // Pixel-centre calibration: an opaque sprite stretched over the whole target. Where the
    // clear colour still shows at the probe, the device needs no half-pixel shift.
    displayProcess().pixelCentreOffset = -0.5f;
    {
        CTEXTURE probe;
        if (probe.Create(&video, 8, 8, false)) {
            std::vector<uint8_t> white(8 * 8 * 4, 0xFF);
            probe.Update(white.data());
            probe.AcquireHandle(&video);
            CSprite sprite;
            sprite.Set(probe, 0, 0, 8, 8);
            video.beginScene();
            sprite.Draw(video, 0, 0, kWidth, kHeight);
            video.endScene();
            video.setTexture(nullptr);
            // The canvas is bottom-up: its storage row 151 is picture row 448.
            const platform::Surface& bb = *video.backBuffer();
            uint32_t probeValue;
            std::memcpy(&probeValue, bb.data() + size_t(kHeight - 1 - 151) * size_t(bb.pitch()), 4);
            if (probeValue == 0x00000008u || probeValue == 0xFF000008u)
                displayProcess().pixelCentreOffset = 0.0f;
        }
    }

    if (firstInit)
        Init();

    video.colorFill(*video.backBuffer(), nullptr, kClearValue);
    window->show(platform::ShowCommand::Show);
    window->raise();
    display.markReady(createdAt);
    runLog().append(1, "DirectX Create");
    return true;
}

bool CDirectX::Destroy()
{
    if (!display.deviceReady())
        return true;
    if (display.directDraw())
        display.directDraw()->close();
    display.detach();
    runLog().append(2, "DirectX Destroy.");
    if (display.deviceWindow())
        display.deviceWindow()->show(platform::ShowCommand::Hide);
    return true;
}

void CDirectX::Present()
{
    if (!display.deviceReady() || !display.directDraw())
        return;
    if (display.directDraw()->present() == platform::PresentResult::SurfaceLost)
        Reset();
}

namespace {

void resetSequence(CDirectX& dx)
{
    dx.ReleaseAllSurfaces();
    dx.Destroy();
    runLog().append(2, "Device Reset");
    if (dx.Create(dx.display.deviceWindow() ? dx.display.deviceWindow() : dx.sys.window, dx.display.windowed())) {
        dx.RestoreAllSurfaces();
        return;
    }
    runLog().append(2, "DirectX5 Create failed.");
    dx.sys.messageBoxes->show(nullptr, SJ("DirectXの初期化に失敗しました。\n"), dx.title, platform::MessageBoxType::Ok);
    dx.postQuit(-255);
}

} // namespace

void CDirectX::Reset()
{
    if (display.deviceReady())
        resetSequence(*this);
}

void CDirectX::Reactivate()
{
    if (!display.deviceReady())
        resetSequence(*this);
}

void CDirectX::toggleDisplayMode()
{
    display.setWindowed(!display.windowed());
    saveConfig();
    display.setModeSwitching(true);
    Reset();
    display.setModeSwitching(false);
}

void CDirectX::ReleaseAllSurfaces()
{
    platform::Video* video = sys.video;
    SurfaceRegistry& reg = surfaceRegistry();
    for (CTEXTURE* t : reg.textures32)
        if (t->directDraw == video)
            t->Release();
    for (CTEXTURE_A4R4G4B4* t : reg.textures4444)
        if (t->directDraw == video)
            t->Release();
    for (CTEXTURE_R5G6B5* t : reg.textures565)
        if (t->directDraw == video)
            t->Release();
    for (CSystemSurface_R8G8B8* s : reg.systemSurfaces)
        if (s->directDraw == video)
            s->Release();
    if (video)
        video->setTexture(nullptr);
}

void CDirectX::RestoreAllSurfaces()
{
    platform::Video* video = sys.video;
    if (!video || !display.deviceReady())
        return;
    SurfaceRegistry& reg = surfaceRegistry();
    for (CTEXTURE* t : reg.textures32)
        if (t->directDraw == video)
            t->Restore(video, video);
    // A 16-bit texture needs its handle asked for again; do it here for every one that had
    // one, so no owner can be left drawing nothing after a reset.
    for (CTEXTURE_A4R4G4B4* t : reg.textures4444)
        if (t->directDraw == video && t->Restore(video, video) && t->handleWanted)
            t->AcquireHandle(video);
    for (CTEXTURE_R5G6B5* t : reg.textures565)
        if (t->directDraw == video && t->Restore(video, video) && t->handleWanted)
            t->AcquireHandle(video);
    for (CSystemSurface_R8G8B8* s : reg.systemSurfaces)
        if (s->directDraw == video)
            s->Restore(video);
    platform::RenderStates& st = video->renderStates();
    st.alphaBlend = true;
    st.textureBlend = platform::TextureBlend::ModulateAlpha;
    st.srcBlend = platform::BlendFactor::SrcAlpha;
    st.dstBlend = platform::BlendFactor::InvSrcAlpha;
}

void CDirectX::Init()
{
    screenState = ScreenState::Title;
    scene.create(display.directDraw() ? display.directDraw() : sys.video);
    if (!LoadFontSheet(archive, "textbox\\default_font.bmp", fontSheet))
        runLog().append(2, SJ("CDirectX::Init() : default_font.bmpのロードに失敗しました。"));
    loadSystemAtlases();
    for (size_t i = 0; i < sinTable.size(); ++i) {
        sinTable[i] = float(std::sin(double(i) * 0.001745328));
        cosTable[i] = float(std::cos(double(i) * 0.001745328));
    }
    unlocks.LoadUnlocks();
    readText.loadReadText();
    messageWindow.initResources(display.directDraw(), sys.fonts, archive, &fontSheet);
    firstInit = false;
}

void CDirectX::beginFrameScene()
{
    if (!display.directDraw())
        return;
    platform::Video& video = *display.directDraw();
    video.beginScene();
    setBaseRenderStates(video);
    CSprite black;
    black.SetColour(0);
    black.Draw(video, 0, 0, kWidth, kHeight);
}

void CDirectX::endFrameScene()
{
    if (display.directDraw())
        display.directDraw()->endScene();
}
