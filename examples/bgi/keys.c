/* keys.c: keys read through <conio.h>'s getch and kbhit beside <graphics.h>:
 * the same keys, typed into the window or the console, a key without a
 * character read as 0 and then its code. Esc ends. */
#include <conio.h>
#include <graphics.h>
#include <stdio.h>

int main(void) {
    int y = 40, key = 0;
    char line[64];
    initwindow(400, 300, "Keys", 0, 0, 0, 1);
    outtextxy(10, 10, "Type keys (Esc ends):");
    while (key != 27) {
        if (!kbhit()) {
            delay(10);
            continue;
        }
        key = getch();
        if (key == 0) sprintf(line, "0, then code %d%s", getch(), "");
        else sprintf(line, "character %d '%c'", key, key >= 32 && key < 127 ? key : '?');
        if (y > 280) {
            cleardevice();
            y = 10;
        }
        outtextxy(10, y, line);
        y += 12;
    }
    closegraph();
    return 0;
}
