// bounce.cpp: a WinBGIm style game. A ball bounces off the walls and a paddle
// moved with the arrow keys or the mouse; a click starts a new ball, Esc or
// the close box ends. Drawn on the page not shown, then shown: no flicker.
#include <graphics.h>

#include <cstdlib>

int main() {
    const int width = 480, height = 360, paddleWidth = 80;
    initwindow(width, height, "Bounce");
    int page = 0, x = width / 2, y = height / 3, dx = 4, dy = 3, paddle = width / 2, score = 0;
    for (;;) {
        if (kbhit()) {
            int key = getch();
            if (key == 27) break;
            if (key == 0) {
                key = getch();
                if (key == KEY_LEFT) paddle -= 24;
                if (key == KEY_RIGHT) paddle += 24;
            }
        }
        if (ismouseclick(WM_MOUSEMOVE)) {
            int mx, my;
            getmouseclick(WM_MOUSEMOVE, mx, my);
            paddle = mx;
        }
        if (ismouseclick(WM_LBUTTONDOWN)) {
            clearmouseclick(WM_LBUTTONDOWN);
            x = width / 2, y = height / 3, score = 0;
        }
        x += dx, y += dy;
        if (x < 8 || x > width - 9) dx = -dx;
        if (y < 8) dy = -dy;
        if (y > height - 24 && y < height - 12 && std::abs(x - paddle) < paddleWidth / 2) dy = -std::abs(dy), ++score;
        if (y > height + 20) y = height / 3, dy = std::abs(dy), score = 0;

        setactivepage(page);
        setvisualpage(1 - page);
        cleardevice();
        setfillstyle(SOLID_FILL, COLOR(255, 160, 0));
        setcolor(COLOR(255, 220, 120));
        fillellipse(x, y, 8, 8);
        setfillstyle(SOLID_FILL, LIGHTBLUE);
        bar(paddle - paddleWidth / 2, height - 16, paddle + paddleWidth / 2, height - 10);
        setcolor(WHITE);
        bgiout << "score " << score;
        outstreamxy(8, 8);
        setvisualpage(page);
        page = 1 - page;
        delay(16);
    }
    closegraph();
    return 0;
}
