// The graphics window under Wine and Xvfb: a real window on its own thread,
// its picture read back from the window DC and from the screen, key messages
// and real key presses arriving in the console input, and from there through
// the console library's reader thread to IO_RdKey.
//
// Each case runs in its own process (one window per process); the fixture
// gives every process a console of its own before Graph_BEGIN takes its input
// handle.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "GraphFixture.h"
#include "GraphWindow.h"
#include "IO.h"
#include "kfrIGraph.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kDarkRed = RGB(0xB0, 0, 0); // standard palette entry 4
constexpr DWORD kWaitMs = 3000;

int refuseBox(const char* text, const char* caption, unsigned) {
    ADD_FAILURE() << "error box \"" << text << "\" caption " << (caption ? caption : "(none)");
    return IDOK;
}

// Handles the messages of the test's own windows (the cover).
void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Polls until pred() holds or the time is up.
template <typename Pred>
bool eventually(Pred pred, DWORD ms = kWaitMs) {
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        pump();
        if (pred()) return true;
        Sleep(10);
    } while (GetTickCount64() < end);
    return pred();
}

// The window thread has handled everything posted before this returns.
void settle(HWND window) { SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kWaitMs, nullptr); }

// The window's picture against the back buffer's at every step-th pixel of area, once
// the window thread has painted what is pending. Read under the back-buffer lock:
// between BeginPaint and EndPaint (which hold it) the window DC is clipped to the
// paint's region and answers CLR_INVALID outside it.
::testing::AssertionResult windowShowsBuffer(RECT area, int step = 1) {
    UpdateWindow(Graph_Window);
    Graph_LockBackBuffer();
    int differing = 0;
    std::string first;
    for (int y = area.top; y < area.bottom; y += step) {
        for (int x = area.left; x < area.right; x += step) {
            const COLORREF w = GetPixel(Graph_WindowDC, x, y), b = GetPixel(Graph_BufferDC, x, y);
            if (w != b && ++differing <= 5) {
                char point[64];
                std::snprintf(point, sizeof point, " (%d,%d) %06lx/%06lx", x, y, static_cast<unsigned long>(w),
                              static_cast<unsigned long>(b));
                first += point;
            }
        }
    }
    Graph_UnlockBackBuffer();
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " points differ, first (x,y) window/buffer:" << first;
}

// One pixel of the window, read the same way.
COLORREF windowPixel(int x, int y) {
    UpdateWindow(Graph_Window);
    Graph_LockBackBuffer();
    const COLORREF c = GetPixel(Graph_WindowDC, x, y);
    Graph_UnlockBackBuffer();
    return c;
}

// White over area of the window alone, once pending paints are done and
// under the lock (a paint meanwhile would clip it); the window's colour there.
COLORREF scribble(RECT area) {
    UpdateWindow(Graph_Window);
    Graph_LockBackBuffer();
    FillRect(Graph_WindowDC, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    GdiFlush();
    const COLORREF c = GetPixel(Graph_WindowDC, area.left, area.top);
    Graph_UnlockBackBuffer();
    return c;
}

// A test's paint hook: holds the next paint open for a while, its DC clipped to
// its update region, and says when it is open.
HANDLE paintOpen = nullptr;
LONG holdNextPaint = 0;
void holdPaintOpen() {
    if (InterlockedExchange(&holdNextPaint, 0) == 0) return;
    SetEvent(paintOpen);
    Sleep(300);
}

// Runs a Unix program (xdotool) from the Windows process.
// WINE: Wine starts Unix executables given by their path, but their process
// handle cannot be waited for: the caller waits for the effect instead.
bool runUnix(const std::string& command) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

// What the X screen shows, as the user sees it.
// WINE: Wine's screen DC does not read the X screen back (GetPixel on it gives
// black), so the picture comes from scripts/graph-window.sh, as a PPM file.
class Screenshot {
public:
    bool take() {
        const std::string name = "plimo-window-" + std::to_string(GetCurrentProcessId());
        const std::string unixPath = "/tmp/" + name + ".ppm";
        const std::string dosPath = "Z:\\tmp\\" + name + ".ppm";
        DeleteFileA(dosPath.c_str());
        if (!runUnix("/bin/sh -c \"bash " PLIMO_SOURCE_DIR "/scripts/graph-window.sh shot root ppm:" +
                     unixPath + ".part && mv " + unixPath + ".part " + unixPath + "\"")) {
            return false;
        }
        if (!eventually([&] { return GetFileAttributesA(dosPath.c_str()) != INVALID_FILE_ATTRIBUTES; },
                        15000)) {
            return false;
        }
        const bool ok = load(dosPath);
        DeleteFileA(dosPath.c_str());
        return ok;
    }

    // The colour at a point of the window's drawing area.
    COLORREF at(HWND window, int x, int y) const {
        POINT p{x, y};
        ClientToScreen(window, &p);
        if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return CLR_INVALID;
        const unsigned char* rgb = &pixels[(static_cast<size_t>(p.y) * width + p.x) * 3];
        return RGB(rgb[0], rgb[1], rgb[2]);
    }

private:
    bool load(const std::string& path) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        std::string data;
        char buffer[65536];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) data.append(buffer, read);
        CloseHandle(file);
        // P6, width, height, 255 (comments between them), one white-space
        // byte, then RGB triples.
        size_t pos = 0;
        auto field = [&]() -> std::string {
            for (;;) {
                while (pos < data.size() && std::isspace(static_cast<unsigned char>(data[pos]))) ++pos;
                if (pos >= data.size() || data[pos] != '#') break;
                while (pos < data.size() && data[pos] != '\n') ++pos;
            }
            const size_t start = pos;
            while (pos < data.size() && !std::isspace(static_cast<unsigned char>(data[pos]))) ++pos;
            return data.substr(start, pos - start);
        };
        if (field() != "P6") return false;
        width = std::atoi(field().c_str());
        height = std::atoi(field().c_str());
        if (field() != "255") return false;
        ++pos;
        const size_t size = static_cast<size_t>(width) * height * 3;
        if (width <= 0 || height <= 0 || data.size() < pos + size) return false;
        pixels.assign(data.begin() + static_cast<std::ptrdiff_t>(pos),
                      data.begin() + static_cast<std::ptrdiff_t>(pos + size));
        return true;
    }

    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// Waits until the screen shows colour at (x, y) of the window's drawing area
// (or, with shown false, anything else).
::testing::AssertionResult screenShows(HWND window, int x, int y, COLORREF colour, bool shown = true) {
    bool taken = false;
    COLORREF seen = CLR_INVALID;
    // A generous ceiling: Wine hands the picture to the X server when the window
    // thread passes its message wait, which a loaded machine may delay.
    for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end;) {
        pump();
        Screenshot shot;
        taken = shot.take();
        if (taken) seen = shot.at(window, x, y);
        if ((seen == colour) == shown) return ::testing::AssertionSuccess();
        Sleep(200);
    }
    return ::testing::AssertionFailure() << "screenshot " << (taken ? "taken" : "not taken") << ", pixel ("
                                         << x << ", " << y << ") is 0x" << std::hex << seen
                                         << (shown ? ", not 0x" : ", still 0x") << colour;
}

struct Key {
    bool down;
    WORD scan;
    DWORD state;
    bool operator==(const Key&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Key& k) {
    return out << (k.down ? "down " : "up ") << std::hex << "scan 0x" << k.scan << " state 0x" << k.state
               << std::dec;
}

// The next key record of the console input (other events are skipped).
bool nextKeyRecord(KEY_EVENT_RECORD& key, DWORD ms = kWaitMs) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        if (WaitForSingleObject(kfrIGraph_hConsoleInput, static_cast<DWORD>(end - now)) != WAIT_OBJECT_0) {
            return false;
        }
        INPUT_RECORD record;
        DWORD read = 0;
        if (!ReadConsoleInputA(kfrIGraph_hConsoleInput, &record, 1, &read) || read != 1) return false;
        if (record.EventType == KEY_EVENT) {
            key = record.Event.KeyEvent;
            return true;
        }
    }
}

std::vector<Key> readKeys(size_t count) {
    std::vector<Key> keys;
    KEY_EVENT_RECORD k;
    while (keys.size() < count && nextKeyRecord(k)) {
        EXPECT_EQ(k.wRepeatCount, 1);
        EXPECT_EQ(k.wVirtualKeyCode, 0);
        EXPECT_EQ(k.uChar.UnicodeChar, 0);
        keys.push_back(Key{k.bKeyDown != 0, k.wVirtualScanCode, k.dwControlKeyState});
    }
    return keys;
}

LPARAM keyLParam(UINT scan, bool extended, bool up, WORD repeat = 1) {
    return static_cast<LPARAM>(repeat | (scan << 16) | (extended ? 1u << 24 : 0u) |
                               (up ? 0xC0000000u : 0u));
}

class GraphWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Graph_ErrorBox = refuseBox;
        // WINE: with no terminal, Wine gives the process no console; a new one
        // works under Xvfb. Its window is hidden so that it covers nothing.
        FreeConsole();
        consoleMade = AllocConsole() != FALSE;
        if (HWND console = GetConsoleWindow()) ShowWindow(console, SW_HIDE);
        Graph_BEGIN();
        opened = Graph_Init(1, 1, 800, 600);
        // NOTE: the activation moves between the new windows for a while after
        // they appear, and every WM_ACTIVATE resets the modifier state: the
        // key cases start once the window has settled as the active one.
        if (opened) {
            eventually([] { return GetForegroundWindow() == Graph_Window; });
            Sleep(300);
        }
    }

    void SetUp() override {
        ASSERT_TRUE(consoleMade);
        ASSERT_TRUE(opened);
        // NOTE: the window of the previous test's process can outlive that
        // process for a moment; the cases that find the window by its class
        // and title (here, and xdotool by its name) start once it has gone.
        ASSERT_TRUE(eventually([] {
            int windows = 0;
            for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "GraphWnd", "Graph")) != nullptr;) ++windows;
            return windows == 1 && FindWindowA("GraphWnd", "Graph") == Graph_Window;
        }));
        window = Graph_Window;
    }

    void post(UINT message, UINT scan, bool extended = false, WORD repeat = 1) {
        const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
        ASSERT_TRUE(PostMessageA(window, message, 0, keyLParam(scan, extended, up, repeat)));
    }

    void focus() {
        // NOTE: with no window manager, xdotool can focus a window but not
        // activate it; Wine then activates it itself.
        ASSERT_TRUE(runUnix("/usr/bin/xdotool search --sync --name ^Graph$ windowfocus --sync"));
        ASSERT_TRUE(eventually([&] { return GetForegroundWindow() == window; }));
        settle(window);
        FlushConsoleInputBuffer(kfrIGraph_hConsoleInput);
    }

    static inline bool consoleMade = false;
    static inline bool opened = false;
    HWND window = nullptr;
};

TEST_F(GraphWindow, OpensWithClassTitleStylePositionAndExactDrawingArea) {
    EXPECT_EQ(Graph_Width, 800u);
    EXPECT_EQ(Graph_Depth, 600u);
    EXPECT_EQ(Graph_NumPColor, Graph_ColourCount);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "GraphWnd");
    EXPECT_EQ(GetClassLongA(window, GCL_STYLE), static_cast<DWORD>(CS_OWNDC | CS_BYTEALIGNCLIENT));
    const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(style & 0x108A0000u, 0x108A0000u);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());

    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_EQ(outer.left, 1);
    EXPECT_EQ(outer.top, 1);
    EXPECT_EQ(client.right - client.left, 800);
    EXPECT_EQ(client.bottom - client.top, 600);
    BITMAP bitmap{};
    GetObjectA(GetCurrentObject(Graph_BufferDC, OBJ_BITMAP), sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 800);
    EXPECT_EQ(bitmap.bmHeight, 600);

    // Cleared to colour 0 everywhere, in the back buffer and in the window.
    for (POINT p : {POINT{0, 0}, POINT{799, 0}, POINT{0, 599}, POINT{799, 599}, POINT{400, 300}}) {
        EXPECT_EQ(GetPixel(Graph_BufferDC, p.x, p.y), kBlack) << p.x << "," << p.y;
        EXPECT_EQ(windowPixel(p.x, p.y), kBlack) << p.x << "," << p.y;
    }
}

TEST_F(GraphWindow, SecondInitLeavesTheWindowAlone) {
    EXPECT_FALSE(Graph_Init(50, 50, 100, 100));
    EXPECT_EQ(Graph_Width, 800u);
    EXPECT_EQ(Graph_Depth, 600u);
    EXPECT_EQ(FindWindowA("GraphWnd", "Graph"), window);
}

TEST_F(GraphWindow, FontIsFixedsysAtTheDefaultFontsHeight) {
    // The default font of a fresh window DC of the same kind.
    HWND probe = CreateWindowExA(0, "GraphWnd", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(probe, nullptr);
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(GetDC(probe), &metrics));
    DestroyWindow(probe);

    const HGDIOBJ font = GetCurrentObject(Graph_WindowDC, OBJ_FONT);
    EXPECT_EQ(GetCurrentObject(Graph_BufferDC, OBJ_FONT), font);
    EXPECT_NE(font, GetStockObject(SYSTEM_FONT));
    LOGFONTA logFont{};
    ASSERT_TRUE(GetObjectA(font, sizeof logFont, &logFont));
    EXPECT_EQ(logFont.lfHeight, metrics.tmHeight);
    EXPECT_STREQ(logFont.lfFaceName, "Fixedsys");
    EXPECT_EQ(logFont.lfPitchAndFamily, VARIABLE_PITCH);
    EXPECT_EQ(logFont.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(logFont.lfWeight, 0);
}

TEST_F(GraphWindow, DrawingRightAfterInitReachesBufferWindowAndScreen) {
    Graph_Rectangle(10, 20, 59, 69, 4, true);
    Graph_Line(100, 100, 199, 100, 4);
    for (HDC dc : {Graph_BufferDC, Graph_WindowDC}) {
        EXPECT_EQ(GetPixel(dc, 10, 20), kDarkRed);
        EXPECT_EQ(GetPixel(dc, 59, 69), kDarkRed);
        EXPECT_EQ(GetPixel(dc, 60, 70), kBlack);
        EXPECT_EQ(GetPixel(dc, 199, 100), kDarkRed);
    }
    // The screen shows it with the drawing area's corner (0, 0) at the
    // client area's origin, and the whole drawing area is visible.
    ASSERT_TRUE(screenShows(window, 10, 20, kDarkRed));
    Screenshot shot;
    ASSERT_TRUE(shot.take());
    EXPECT_EQ(shot.at(window, 59, 69), kDarkRed);
    EXPECT_EQ(shot.at(window, 9, 19), kBlack);
    EXPECT_EQ(shot.at(window, 60, 70), kBlack);
    EXPECT_EQ(shot.at(window, 799, 599), kBlack);
}

TEST_F(GraphWindow, CloseRequestsLeaveTheWindowOpen) {
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_BLOCK, kWaitMs, nullptr);
    SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_BLOCK, kWaitMs, nullptr);
    // Alt+F4 typed into the window.
    focus();
    ASSERT_TRUE(runUnix("/usr/bin/xdotool key --clearmodifiers alt+F4"));
    // Alt down, F4 down, F4 up, Alt up arrive as keys: the window did see them.
    const std::vector<Key> keys = readKeys(4);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[1], (Key{true, 0x3E, LEFT_ALT_PRESSED}));
    settle(window);
    Sleep(200);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(GraphWindow, RepaintCopiesTheBackBuffer) {
    Graph_Rectangle(0, 0, 99, 99, 4, true);
    // Something on the window that the back buffer does not hold: a repaint
    // must replace it with the back buffer's picture.
    ASSERT_EQ(scribble({0, 0, 200, 200}), RGB(255, 255, 255));

    InvalidateRect(window, nullptr, TRUE);
    settle(window);
    EXPECT_TRUE(eventually([&] { return windowPixel(150, 150) == kBlack; }));
    EXPECT_EQ(windowPixel(50, 50), kDarkRed);
    EXPECT_TRUE(screenShows(window, 150, 150, kBlack));
    EXPECT_TRUE(screenShows(window, 50, 50, kDarkRed));

    // The background is not erased first: the picture would flash black.
    EXPECT_NE(SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(Graph_WindowDC), 0), 0);
    EXPECT_EQ(windowPixel(50, 50), kDarkRed);
}

// A clip rectangle cuts drawing, never the window's copies of the whole
// picture: the repaint, a frame's end, a frame's page copy; nor reads.
TEST_F(GraphWindow, RepaintsAndFramesShowTheWholePictureThroughAClip) {
    Graph_Rectangle(0, 0, 99, 99, 4, true);
    ASSERT_EQ(scribble({0, 0, 200, 200}), RGB(255, 255, 255));
    Graph_SetClip(300, 300, 309, 309);
    InvalidateRect(window, nullptr, FALSE);
    settle(window);
    EXPECT_TRUE(eventually([&] { return windowPixel(150, 150) == kBlack; }));
    EXPECT_EQ(windowPixel(50, 50), kDarkRed);
    for (int k = 0; k < 2; ++k) { // a frame that paints all it may, then one that draws onto the picture
        Graph_BeginFrame();
        Graph_Rectangle(0, 0, 799, 599, k == 0 ? 1 : 2, true);
        Graph_EndFrame();
    }
    EXPECT_TRUE(windowShowsBuffer({0, 0, 800, 600}, 7));
    EXPECT_EQ(Graph_GetPixel(50, 50), 0xB00000u);
    EXPECT_EQ(Graph_GetPixel(305, 305), 0x00B000u);
    EXPECT_EQ(windowPixel(50, 50), kDarkRed);
    Graph_ResetClip();
}

TEST_F(GraphWindow, ShapesDrawnDuringRepaintsReachTheWindowWhole) {
    // A shape drawn while a paint of a small corner is open on the window
    // thread waits for that paint instead of being cut to the corner.
    paintOpen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    holdNextPaint = 1;
    Graph_PaintHook = holdPaintOpen;
    RECT corner{0, 0, 8, 8};
    InvalidateRect(window, &corner, FALSE);
    ASSERT_EQ(WaitForSingleObject(paintOpen, kWaitMs), WAIT_OBJECT_0);
    Graph_Rectangle(100, 100, 699, 499, 4, true);
    EXPECT_TRUE(windowShowsBuffer({0, 0, 800, 600}, 7));
    Graph_PaintHook = nullptr;

    // And many shapes among many such paints.
    for (uint32_t i = 0; i < 1000; ++i) {
        InvalidateRect(window, &corner, FALSE);
        const uint32_t x = (i * 37) % 760 + 20, y = (i * 53) % 560 + 20;
        Graph_Rectangle(x, y, x + 15, y + 15, 1 + i % 15, true);
    }
    EXPECT_TRUE(windowShowsBuffer({0, 0, 800, 600}, 7));
}

TEST_F(GraphWindow, RepaintsLeaveTheWindowDCsPenBrushAndColours) {
    // Requests leave their pen, brush and colours selected in the window's
    // own DC, and one of the same colour selects nothing: the paints on the
    // window thread (BeginPaint and EndPaint on that DC) must keep them.
    Graph_SetBkColor(1);
    Graph_SetStdFillMask(Graph_PATSYM_DIAG1);
    for (uint32_t i = 0; i < 10; ++i) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        Graph_Rectangle(i * 40, 300, i * 40 + 29, 329, 4, true);
        Graph_RawOutText(i * 40, 340, 4, "Xy", 2);
    }
    EXPECT_TRUE(windowShowsBuffer({0, 300, 400, 360}));
}

TEST_F(GraphWindow, CoveredOrMinimisedTheWindowShowsTheLastPictureAgain) {
    Graph_Rectangle(300, 200, 399, 299, 4, true);
    ASSERT_TRUE(screenShows(window, 350, 250, kDarkRed));

    // Covered by another window, which then goes away.
    POINT corner{250, 150};
    ClientToScreen(window, &corner);
    WNDCLASSA coverClass{};
    coverClass.lpfnWndProc = DefWindowProcA;
    coverClass.hInstance = GetModuleHandleA(nullptr);
    coverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    coverClass.lpszClassName = "PlimoCover";
    ASSERT_NE(RegisterClassA(&coverClass), 0);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST, "PlimoCover", "", WS_POPUP | WS_VISIBLE, corner.x, corner.y,
                                 300, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(cover, nullptr);
    // WINE: under Wine the cover's own picture need not reach the screen
    // while it is up; that it hides the window's is enough here.
    EXPECT_TRUE(screenShows(window, 350, 250, kDarkRed, false));
    DestroyWindow(cover);
    EXPECT_TRUE(screenShows(window, 350, 250, kDarkRed));
    EXPECT_TRUE(screenShows(window, 299, 199, kBlack));

    // Minimised and restored.
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(eventually([&] { return IsIconic(window) != FALSE; }));
    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(eventually([&] { return !IsIconic(window); }));
    EXPECT_TRUE(screenShows(window, 350, 250, kDarkRed));
    EXPECT_TRUE(screenShows(window, 299, 199, kBlack));
    EXPECT_EQ(windowPixel(399, 299), kDarkRed);
}

TEST_F(GraphWindow, RepaintInsideAFrameShowsTheLastWholeFrame) {
    Graph_SetStdFillMask(Graph_PATSYM_SOLID); // whatever cases before it in this process left
    Graph_SetBkColor(0);
    Graph_Rectangle(0, 0, 99, 99, 4, true);
    Graph_BeginFrame();
    Graph_BeginFrame(); // nested: only the outer end shows the frame
    Graph_Rectangle(0, 0, 99, 99, 1, true);
    Graph_Rectangle(200, 0, 299, 99, 1, true);
    Graph_EndFrame();
    // A repaint forced while the frame is open, over a scribble the back buffer does not hold.
    scribble({150, 0, 250, 50});
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    for (POINT p : {POINT{50, 50}, POINT{160, 10}, POINT{220, 10}, POINT{220, 70}}) {
        EXPECT_EQ(windowPixel(p.x, p.y), p.x < 100 ? kDarkRed : kBlack) << p.x << "," << p.y;
    }
    Graph_EndFrame();
    Graph_EndFrame(); // without a frame: nothing
    EXPECT_TRUE(windowShowsBuffer({0, 0, 800, 600}, 7));
    EXPECT_EQ(windowPixel(220, 10), RGB(0, 0, 0xB0));

    // Each frame starts from the picture as it stands, read or drawn on,
    // unless it paints over all of it.
    for (uint32_t x : {400, 500}) {
        Graph_BeginFrame();
        EXPECT_EQ(Graph_GetPixel(220, 10), 0x0000B0u);
        Graph_Rectangle(x, 0, x + 49, 49, 2, true);
        Graph_EndFrame();
    }
    EXPECT_TRUE(windowShowsBuffer({0, 0, 800, 600}, 7));
    EXPECT_EQ(windowPixel(420, 10), RGB(0, 0xB0, 0));
    // Frames that draw onto the picture copy it at their start instead of
    // swapping pages: a repaint inside one still shows the last whole picture.
    Graph_BeginFrame();
    Graph_Rectangle(600, 0, 649, 49, 2, true);
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_EQ(windowPixel(620, 10), kBlack);
    Graph_EndFrame();
    EXPECT_EQ(windowPixel(620, 10), RGB(0, 0xB0, 0));
    Graph_BeginFrame();
    Graph_ClearScreen(0);
    Graph_EndFrame();
    EXPECT_TRUE(windowShowsBuffer({0, 0, 800, 600}, 7));
    EXPECT_EQ(windowPixel(520, 10), kBlack);
}

// ---- three faults mended (issue 26) ----------------------------------------------

LONG stopRedraws = 0, redraws = 0;
DWORD WINAPI redrawWindow(void*) {
    while (InterlockedCompareExchange(&stopRedraws, 0, 0) == 0) {
        RedrawWindow(Graph_Window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        InterlockedIncrement(&redraws);
    }
    return 0;
}

TEST_F(GraphWindow, PixelReadsDuringRepaintsAnswerThePicture) {
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    Graph_Rectangle(100, 100, 299, 299, 4, true);
    HANDLE redrawer = CreateThread(nullptr, 0, redrawWindow, nullptr, 0, nullptr);
    ASSERT_NE(redrawer, nullptr);
    int reads = 0, wrong = 0;
    for (; reads < 5000 || InterlockedCompareExchange(&redraws, 0, 0) < 100; ++reads) {
        wrong += Graph_GetPixel(100 + reads % 200, 100 + reads / 200 % 200) != 0xB00000u;
    }
    InterlockedExchange(&stopRedraws, 1);
    WaitForSingleObject(redrawer, INFINITE);
    CloseHandle(redrawer);
    EXPECT_EQ(wrong, 0) << "of " << reads;
}

// A paint waits for the back buffer before it takes the window mutex, and the
// finaliser closes that mutex under the back-buffer lock: no paint holds or
// waits on it when it goes, and a paint after it waits on none.
TEST_F(GraphWindow, TheFinaliserClosesNoHandleAPaintHolds) {
    Graph_Rectangle(0, 0, 9, 9, 4, true);
    Graph_LockBackBuffer();
    InvalidateRect(window, nullptr, FALSE);
    Sleep(300); // the window thread's paint starts, and waits
    EXPECT_EQ(WaitForSingleObject(Graph_WindowMutex, 0), WAIT_OBJECT_0) << "a waiting paint holds the mutex";
    ReleaseMutex(Graph_WindowMutex);
    Graph_Finalize();
    Graph_UnlockBackBuffer();
    EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kWaitMs, nullptr), 0);
    EXPECT_EQ(windowPixel(5, 5), kDarkRed);
}

TEST_F(GraphWindow, TheStandardFillMaskReportsTheSameAcrossAClear) {
    Graph_SetBkColor(0);
    Graph_SetStdFillMask(Graph_PATSYM_DIAG1);
    const uint8_t mask[8] = {0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0};
    Graph_SetFillMask(mask);
    Graph_ClearScreen(0);
    EXPECT_EQ(Graph_GetStdFillMask(), Graph_PATSYM_DIAG1);
    Graph_Rectangle(0, 0, 15, 15, 4, true); // the user mask still fills
    EXPECT_EQ(Graph_GetPixel(2, 8), 0xB00000u);
    EXPECT_EQ(Graph_GetPixel(6, 8), 0u);
}

// Sent messages overtake posted ones: a close request posted last tells that
// the window thread has handled everything posted before it.
void handled(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(eventually([] { return Graph_CloseRequested(); }));
}

TEST_F(GraphWindow, MouseEventsArriveInOrderMergedAndBounded) {
    Graph_MouseEvent e;
    settle(window);
    while (Graph_ReadMouse(&e)) {}
    POINT screen{30, 40};
    ClientToScreen(window, &screen);
    const std::vector<std::pair<UINT, LPARAM>> posted = {
        {WM_MOUSEMOVE, MAKELPARAM(1, 2)},   {WM_MOUSEMOVE, MAKELPARAM(3, 4)},
        {WM_LBUTTONDOWN, MAKELPARAM(5, 6)}, {WM_MOUSEMOVE, MAKELPARAM(7, 8)},
        {WM_MOUSEMOVE, MAKELPARAM(-9, 900)}, {WM_LBUTTONUP, MAKELPARAM(-10, 10)},
        {WM_MOUSEWHEEL, MAKELPARAM(screen.x, screen.y)}};
    for (auto [message, at] : posted) {
        const WPARAM held = message == WM_MOUSEWHEEL   ? MAKEWPARAM(0, static_cast<WORD>(-120))
                            : message == WM_MOUSEMOVE && at != MAKELPARAM(3, 4) ? MK_LBUTTON : 0;
        ASSERT_TRUE(PostMessageA(window, message, held, at));
    }
    handled(window);
    const std::vector<std::vector<uint32_t>> expected = {  // kind x y buttons wheel
        {Graph_MOUSE_MOVE, 3, 4, 0, 0},        {Graph_MOUSE_PRESS, 5, 6, Graph_BUTTON_LEFT, 0},
        {Graph_MOUSE_MOVE, 0, 599, Graph_BUTTON_LEFT, 0}, {Graph_MOUSE_RELEASE, 0, 10, Graph_BUTTON_LEFT, 0},
        {Graph_MOUSE_WHEEL, 30, 40, 0, static_cast<uint32_t>(-120)}};
    std::vector<std::vector<uint32_t>> read;
    while (Graph_ReadMouse(&e)) read.push_back({e.kind, e.x, e.y, e.buttons, static_cast<uint32_t>(e.wheel)});
    EXPECT_EQ(read, expected);
    EXPECT_FALSE(Graph_ReadMouse(nullptr));

    // A full queue drops the newest and counts them.
    for (int i = 0; i < 100; ++i) PostMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(i, 0));
    handled(window);
    int kept = 0;
    while (Graph_ReadMouse(&e)) EXPECT_EQ(e.x, static_cast<uint32_t>(kept++));
    EXPECT_EQ(kept + Graph_MouseDropped(), 100u);
    EXPECT_GT(Graph_MouseDropped(), 0u);
    PostMessageA(window, WM_RBUTTONUP, 0, 0);
}

TEST_F(GraphWindow, CloseRequestsAreSeenOnce) {
    EXPECT_FALSE(Graph_CloseRequested());
    SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_BLOCK, kWaitMs, nullptr);
    EXPECT_TRUE(Graph_CloseRequested());
    EXPECT_FALSE(Graph_CloseRequested());
    PostMessageA(window, WM_SYSKEYDOWN, VK_F4, keyLParam(0x3E, false, false));
    EXPECT_TRUE(eventually([] { return Graph_CloseRequested(); }));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(GraphWindow, PostedKeysArriveAsConsoleRecords) {
    FlushConsoleInputBuffer(kfrIGraph_hConsoleInput);
    post(WM_KEYDOWN, 0x16);          // U
    post(WM_KEYUP, 0x16);
    post(WM_KEYDOWN, 0x2A);          // left Shift
    post(WM_KEYDOWN, 0x16, false, 5); // U, auto-repeat with a count of 5
    post(WM_KEYDOWN, 0x36);          // right Shift
    post(WM_KEYUP, 0x36);            // clears the one Shift bit of both
    post(WM_KEYDOWN, 0x1D, true);    // right Ctrl
    post(WM_KEYDOWN, 0x48, true);    // Up arrow: no ENHANCED_KEY
    post(WM_KEYUP, 0x1D, true);
    post(WM_SYSKEYDOWN, 0x38, true); // right Alt
    post(WM_SYSKEYDOWN, 0x10);       // Alt+Q
    post(WM_SYSKEYUP, 0x38, true);
    post(WM_KEYDOWN, 0x7B);          // Muhenkan: its own code, not 0x17 (`i`)
    const std::vector<Key> expected = {
        {true, 0x16, 0},
        {false, 0x16, 0},
        {true, 0x2A, 0},
        {true, 0x16, SHIFT_PRESSED},
        {true, 0x36, SHIFT_PRESSED},
        {false, 0x36, SHIFT_PRESSED},
        {true, 0x1D, 0},
        {true, 0x48, LEFT_CTRL_PRESSED},
        {false, 0x1D, LEFT_CTRL_PRESSED},
        {true, 0x38, 0},
        {true, 0x10, LEFT_ALT_PRESSED},
        {false, 0x38, LEFT_ALT_PRESSED},
        {true, 0x7B, 0},
    };
    EXPECT_EQ(readKeys(expected.size()), expected);
}

TEST_F(GraphWindow, ActivationForgetsHeldModifiers) {
    FlushConsoleInputBuffer(kfrIGraph_hConsoleInput);
    post(WM_KEYDOWN, 0x2A);
    post(WM_KEYDOWN, 0x1D);
    post(WM_KEYDOWN, 0x16);
    // Sent messages overtake posted ones: the three must be through first.
    const std::vector<Key> held = {
        {true, 0x2A, 0},
        {true, 0x1D, SHIFT_PRESSED},
        {true, 0x16, SHIFT_PRESSED | LEFT_CTRL_PRESSED},
    };
    ASSERT_EQ(readKeys(held.size()), held);
    SendMessageTimeoutA(window, WM_ACTIVATE, WA_INACTIVE, 0, SMTO_BLOCK, kWaitMs, nullptr);
    post(WM_KEYDOWN, 0x16);
    post(WM_KEYUP, 0x2A);
    const std::vector<Key> forgotten = {{true, 0x16, 0}, {false, 0x2A, 0}};
    EXPECT_EQ(readKeys(forgotten.size()), forgotten);
}

TEST_F(GraphWindow, RealKeyPressesArriveAsConsoleRecords) {
    focus();
    ASSERT_TRUE(runUnix("/usr/bin/xdotool key --clearmodifiers u shift+u Up"));
    const std::vector<Key> expected = {
        {true, 0x16, 0},  {false, 0x16, 0},
        // xdotool releases a chord's keys in the order it pressed them.
        {true, 0x2A, 0},  {true, 0x16, SHIFT_PRESSED}, {false, 0x2A, SHIFT_PRESSED},
        {false, 0x16, 0},
        {true, 0x48, 0},  {false, 0x48, 0},
    };
    EXPECT_EQ(readKeys(expected.size()), expected);
}

// From the window through the console library's reader thread: the same keys
// as typed in the console. Last: the reader thread takes every record.
TEST_F(GraphWindow, KeysReachIORdKeyLikeConsoleKeys) {
    IO_BEGIN();
    // The code of a key without character follows at once, without a key
    // in the queue: only first halves are waited for.
    auto readKey = [] {
        EXPECT_TRUE(eventually([] { return IO_KeyPressed(); }));
        return IO_KeyPressed() ? IO_RdKey() : uint8_t{0xFF};
    };
    post(WM_KEYDOWN, 0x17); // i
    post(WM_KEYUP, 0x17);
    EXPECT_EQ(readKey(), 'i');
    post(WM_KEYDOWN, 0x2A); // Shift+U
    post(WM_KEYDOWN, 0x16);
    post(WM_KEYUP, 0x16);
    post(WM_KEYUP, 0x2A);
    EXPECT_EQ(readKey(), 'U');
    post(WM_KEYDOWN, 0x3B); // F1: 0, then its code
    EXPECT_EQ(readKey(), 0);
    EXPECT_EQ(IO_RdKey(), 0x3B);
    post(WM_KEYDOWN, 0x7B); // a key the console tables do not know gives nothing
    post(WM_KEYDOWN, 0x10); // q
    EXPECT_EQ(readKey(), 'q');

    focus();
    ASSERT_TRUE(runUnix("/usr/bin/xdotool key --clearmodifiers k"));
    EXPECT_EQ(readKey(), 'k');
    EXPECT_FALSE(IO_KeyPressed());
}

} // namespace

// Closed, the window is gone and requests do nothing; opened again anywhere,
// of any size, it draws. GDI objects and handles come back to the first
// round's counts (WINE: GetGuiResources answers 0; the handle table counts).
TEST_F(GraphWindow, AHundredClosesAndOpensLeaveGdiObjectsAndHandlesFlat) {
    // WINE: GetProcessHandleCount answers 0 as well: the handles are counted one by one.
    auto handles = [] {
        DWORD n = 0, flags;
        if (GetProcessHandleCount(GetCurrentProcess(), &n) && n != 0) return static_cast<uint32_t>(n);
        for (uintptr_t h = 4; h < 0x10000; h += 4) n += GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags) != 0;
        return static_cast<uint32_t>(n);
    };
    auto counts = [&] {
        return std::vector<uint32_t>{GdiObjectCount(), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), handles()};
    };
    // The counters must see objects and handles come and go, or equal counts prove nothing.
    const std::vector<uint32_t> before = counts();
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(counts()[0], before[0] + 1);
    EXPECT_EQ(counts()[2], before[2] + 1);
    CloseHandle(event);
    DeleteObject(pen);
    std::vector<uint32_t> first;
    for (uint32_t round = 0; round < 100; ++round) {
        Graph_SetActivePage(2);
        Graph_Rectangle(0, 0, 9, 9, 4, true);
        ASSERT_TRUE(Graph_SetFont("DejaVu Sans", 20, 900, Graph_BOLD));
        Graph_BeginFrame(); // left open: the close ends it
        Graph_Close();
        ASSERT_FALSE(IsWindow(window)) << round;
        Graph_Rectangle(0, 0, 9, 9, 4, true);
        Graph_SetVisualPage(2);
        EXPECT_EQ(Graph_GetPixel(0, 0), 0xFFFFFFFFu);
        EXPECT_EQ(Graph_TextWidth("x"), 0u);
        EXPECT_FALSE(Graph_SetFont("DejaVu Sans", 20, 0, 0));
        if (round == 1) first = counts();
        if (round == 99) {
            EXPECT_EQ(counts(), first) << "GDI objects (table, GetGuiResources), handles";
        }
        Graph_EndFrame();

        const uint32_t width = 200 + round, depth = 100 + round % 7;
        ASSERT_TRUE(Graph_TryInit(static_cast<int32_t>(10 + round), 20, width, depth)) << Graph_LastError();
        window = Graph_Window;
        RECT client, outer;
        GetClientRect(window, &client);
        GetWindowRect(window, &outer);
        ASSERT_EQ(client.right, static_cast<LONG>(width));
        ASSERT_EQ(client.bottom, static_cast<LONG>(depth));
        ASSERT_EQ(outer.left, static_cast<LONG>(10 + round));
        EXPECT_EQ(Graph_GetPixel(5, 5), 0u); // page 0, cleared
        Graph_Rectangle(0, 0, 9, 9, 4, true);
        EXPECT_EQ(windowPixel(5, 5), kDarkRed);
    }
    std::printf("after 100 rounds: %u GDI objects (GetGuiResources %u), %u handles\n", first[0], first[1], first[2]);
}
