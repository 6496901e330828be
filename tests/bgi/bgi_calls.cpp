// The BGI from C++11: WinBGIm's window and its C++ forms (default arguments,
// references, the text stream), RGB colours, double buffering, and the close
// box turned off. Prints one line per failed check; the exit code is the
// number of failures.
#include <windows.h>

#include <cstdio>
#include <graphics.h>

namespace {
int failures = 0;
#define CHECK(cond) \
    if (!(cond)) ++failures, std::printf("%s:%d: failed: %s\n", __FILE__, __LINE__, #cond)

int moves = 0;
void onMove(int, int) { ++moves; }
} // namespace

int main() {
    // No console of the test's own (CTest gives none): the BGI makes one, and
    // a key typed into the window comes through it.
    CHECK(initwindow(320, 200, "bgi c++", 10, 10, true, false) == 0);
    CHECK(getmaxx() == 319 && getmaxy() == 199 && getwindowwidth() == 320 && getwindowheight() == 200);
    CHECK(getactivepage() == 1 && getvisualpage() == 0);
    setcurrentwindow(getcurrentwindow());
    CHECK(graphresult() == grOk);
    setcolor(COLOR(200, 100, 50));
    line(0, 0, 319, 0);
    CHECK(getpixel(100, 0) == COLOR(200, 100, 50));
    CHECK(converttorgb(LIGHTRED) == 0x5555FF && getdisplaycolor(COLOR(1, 2, 3)) == COLOR(1, 2, 3));
    for (int i = 0; i < 300; ++i) putpixel(i, 5, COLOR(i % 256, 0, 0)); // more RGB colours than palette entries
    CHECK(getpixel(10, 5) == COLOR(10, 0, 0) && getpixel(299, 5) == COLOR(43, 0, 0));
    swapbuffers();
    CHECK(getactivepage() == 0 && getvisualpage() == 1);
    setcolor(WHITE);
    bgiout << "n=" << 42;
    outstreamxy(10, 20);
    CHECK(getpixel(10, 20) == BLACK && textwidth("n=42") == 32);
    writeimagefile("bgi_cpp.bmp", 0, 0, 9, 9, true, nullptr);
    printimage();
    CHECK(graphresult() == grError);
    int x = 1, y = 1;
    getmouseclick(WM_LBUTTONDOWN, x, y); // none queued
    CHECK(x == -1 && y == -1);
    int xa, ya;
    getaspectratio(xa, ya);
    CHECK(xa == ya);
    registermousehandler(WM_MOUSEMOVE, onMove);
    HWND window = FindWindowA("GraphWnd", nullptr);
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(50, 60));
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 60));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(50, 60));
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(51, 60));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(51, 60));
    delay(300);
    CHECK(moves >= 1 && ismouseclick(WM_LBUTTONDBLCLK) && mousex() == 51);
    PostMessageA(window, WM_KEYDOWN, 'X', 0x2D << 16 | 1);
    PostMessageA(window, WM_KEYUP, 'X', 0xC0000001u | 0x2D << 16);
    delay(500);
    CHECK(kbhit() && getch() == 'x');
    // The close box is turned off: the program goes on.
    PostMessageA(window, WM_CLOSE, 0, 0);
    delay(300);
    CHECK(kbhit() == 0);
    closegraph(ALL_WINDOWS);
    line(0, 0, 5, 5);
    CHECK(graphresult() == grNoInitGraph);
    if (failures == 0) std::printf("all checks passed\n");
    return failures;
}
