/* poster.c: a Turbo C style BGI program. initgraph with autodetection, the
 * result checked, a picture of shapes, fills and text, a key to end. */
#include <graphics.h>
#include <stdio.h>
#include <stdlib.h>

int main(void) {
    int driver = DETECT, mode, error, style, x;
    char title[] = "BGI on Plimo";
    initgraph(&driver, &mode, "");
    error = graphresult();
    if (error != grOk) {
        printf("Graphics error: %s\n", grapherrormsg(error));
        return 1;
    }
    setbkcolor(BLUE);
    cleardevice();
    setcolor(YELLOW);
    rectangle(0, 0, getmaxx(), getmaxy());
    settextjustify(CENTER_TEXT, TOP_TEXT);
    settextstyle(DEFAULT_FONT, HORIZ_DIR, 3);
    outtextxy(getmaxx() / 2, 16, title);
    /* The twelve fill styles, each in a bar with its number under it. */
    settextstyle(DEFAULT_FONT, HORIZ_DIR, 1);
    for (style = EMPTY_FILL; style < USER_FILL; ++style) {
        char label[4];
        x = 20 + style * 50;
        setfillstyle(style, LIGHTCYAN);
        bar3d(x, 80, x + 36, 140, 6, 1);
        sprintf(label, "%d", style);
        outtextxy(x + 18, 150, label);
    }
    /* Pie slices of a chart, and the shapes with their outlines. */
    setfillstyle(SOLID_FILL, LIGHTRED);
    pieslice(140, 300, 0, 120, 80);
    setfillstyle(HATCH_FILL, LIGHTGREEN);
    pieslice(140, 300, 120, 250, 80);
    setfillstyle(XHATCH_FILL, YELLOW);
    pieslice(140, 300, 250, 360, 80);
    setlinestyle(DASHED_LINE, 0, THICK_WIDTH);
    circle(360, 300, 70);
    setlinestyle(SOLID_LINE, 0, NORM_WIDTH);
    setfillstyle(INTERLEAVE_FILL, MAGENTA);
    fillellipse(530, 300, 70, 40);
    settextstyle(DEFAULT_FONT, VERT_DIR, 2);
    outtextxy(620, 300, "vertical");
    settextstyle(DEFAULT_FONT, HORIZ_DIR, 1);
    outtextxy(getmaxx() / 2, getmaxy() - 20, "press a key");
    getch();
    closegraph();
    return 0;
}
