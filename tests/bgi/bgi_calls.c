/* The BGI from C: (nearly) every call, its pixels read back with getpixel and
 * checked against what Borland's reference says each call draws. Prints one
 * line per failed check; ends through the window's close box (exit code 0)
 * when every check passed, else with the number of failures. */
#include <windows.h>

#include <alloc.h>
#include <conio.h>
#include <graphics.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;
#define CHECK(cond)                                                              \
    do {                                                                         \
        if (!(cond)) ++failures, printf("%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
    } while (0)

/* Pixels of colour c in the box, inclusive. */
static int count(int l, int t, int r, int b, int c) {
    int n = 0, x, y;
    for (y = t; y <= b; ++y)
        for (x = l; x <= r; ++x) n += getpixel(x, y) == c;
    return n;
}

static void key(WORD scan, char ch) {
    INPUT_RECORD r[2];
    DWORD n;
    memset(r, 0, sizeof r);
    r[0].EventType = r[1].EventType = KEY_EVENT;
    r[0].Event.KeyEvent.bKeyDown = TRUE;
    r[0].Event.KeyEvent.wRepeatCount = r[1].Event.KeyEvent.wRepeatCount = 1;
    r[0].Event.KeyEvent.wVirtualScanCode = r[1].Event.KeyEvent.wVirtualScanCode = scan;
    r[0].Event.KeyEvent.uChar.AsciiChar = r[1].Event.KeyEvent.uChar.AsciiChar = ch;
    WriteConsoleInputA(GetStdHandle(STD_INPUT_HANDLE), r, 2, &n);
}

static void closed(void) { printf("closed by the close box\n"); }

static void shapes(void) {
    int i, poly[] = {300, 300, 340, 300, 320, 330};
    struct arccoordstype a;
    cleardevice();
    line(10, 10, 50, 10); /* both ends */
    CHECK(count(10, 10, 50, 10, WHITE) == 41 && getpixel(9, 10) == BLACK && getpixel(51, 10) == BLACK);
    rectangle(60, 20, 80, 30);
    CHECK(count(60, 20, 80, 20, WHITE) == 21 && count(60, 21, 60, 29, WHITE) == 9 && count(61, 21, 79, 29, WHITE) == 0);
    circle(200, 100, 20);
    CHECK(getpixel(220, 100) == WHITE && getpixel(180, 100) == WHITE && getpixel(200, 80) == WHITE &&
          getpixel(200, 120) == WHITE && getpixel(200, 100) == BLACK);
    arc(300, 100, 0, 90, 30);
    getarccoords(&a);
    CHECK(a.x == 300 && a.y == 100 && a.xstart == 330 && a.ystart == 100 && a.xend == 300 && a.yend == 70);
    CHECK(getpixel(330, 100) == WHITE && getpixel(300, 70) == WHITE && getpixel(270, 100) == BLACK);
    ellipse(400, 100, 0, 360, 40, 20);
    CHECK(getpixel(440, 100) == WHITE && getpixel(400, 80) == WHITE && getpixel(400, 121) == BLACK);
    putpixel(5, 5, LIGHTRED);
    CHECK(getpixel(5, 5) == LIGHTRED);
    { /* many pixels in a row: they may wait in a copy of the picture, and are there when read */
        int x, y, ok = 1;
        for (y = 0; y < 70; ++y)
            for (x = 0; x < 70; ++x) putpixel(560 + x, 400 + y, (x ^ y) & 15);
        for (y = 0; y < 70; ++y)
            for (x = 0; x < 70; ++x) ok &= getpixel(560 + x, 400 + y) == ((x ^ y) & 15);
        CHECK(ok && getpixel(559, 400) == BLACK);
    }
    moveto(100, 200);
    lineto(120, 200);
    linerel(0, 10);
    CHECK(getx() == 120 && gety() == 210 && getpixel(110, 200) == WHITE && getpixel(120, 205) == WHITE);
    moverel(-20, 0);
    CHECK(getx() == 100);
    drawpoly(3, poly);
    CHECK(getpixel(320, 300) == WHITE && getpixel(330, 315) == WHITE && getpixel(310, 315) == BLACK);
    /* Line styles: a pixel is set where its bit of the pattern is, first pixel in bit 15. */
    for (i = DOTTED_LINE; i <= USERBIT_LINE; ++i) {
        struct linesettingstype s;
        unsigned p = i == USERBIT_LINE ? 0xF00Fu : (i == DOTTED_LINE ? 0xCCCCu : i == CENTER_LINE ? 0xFC78u : 0xF8F8u);
        int x, ok = 1;
        setlinestyle(i, 0xF00F, NORM_WIDTH);
        getlinesettings(&s);
        CHECK(s.linestyle == i && s.thickness == NORM_WIDTH);
        line(10, 400 + i, 41, 400 + i);
        for (x = 0; x < 31; ++x) ok &= (getpixel(10 + x, 400 + i) == WHITE) == (((p >> (15 - x % 16)) & 1) != 0);
        CHECK(ok);
    }
    setlinestyle(SOLID_LINE, 0, THICK_WIDTH);
    line(100, 420, 140, 420);
    CHECK(count(120, 418, 120, 422, WHITE) == 3);
    setlinestyle(SOLID_LINE, 0, NORM_WIDTH);
    setwritemode(XOR_PUT);
    line(150, 420, 170, 420);
    line(150, 420, 170, 420); /* twice: gone */
    CHECK(count(150, 420, 170, 420, WHITE) == 0);
    setwritemode(COPY_PUT);
}

static void fills(void) {
    int style, x, y;
    char user[8] = {0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A}, back[8];
    struct fillsettingstype f;
    static const unsigned char pattern[12][8] = {
        {0}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0},
        {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, {0xE0, 0xC1, 0x83, 0x07, 0x0E, 0x1C, 0x38, 0x70},
        {0xF0, 0x78, 0x3C, 0x1E, 0x0F, 0x87, 0xC3, 0xE1}, {0xA5, 0xD2, 0x69, 0xB4, 0x5A, 0x2D, 0x96, 0x4B},
        {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}, {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},
        {0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33}, {0x80, 0, 0x08, 0, 0x80, 0, 0x08, 0},
        {0x88, 0, 0x22, 0, 0x88, 0, 0x22, 0}};
    cleardevice();
    /* Each style's 8 x 8 pattern, aligned to the screen, to the bar's edges. */
    for (style = EMPTY_FILL; style < USER_FILL; ++style) {
        int ok = 1, l = 16 * style, t = 16;
        setfillstyle(style, YELLOW);
        bar(l, t, l + 11, t + 11);
        for (y = t; y <= t + 11; ++y)
            for (x = l; x <= l + 11; ++x)
                ok &= getpixel(x, y) == ((pattern[style][y & 7] >> (7 - (x & 7)) & 1) ? YELLOW : BLACK);
        if (!ok) printf("fill style %d\n", style);
        CHECK(ok);
    }
    setfillpattern(user, LIGHTGREEN);
    getfillsettings(&f);
    getfillpattern(back);
    CHECK(f.pattern == USER_FILL && f.color == LIGHTGREEN && memcmp(back, user, 8) == 0);
    bar(0, 40, 7, 47);
    CHECK(getpixel(1, 40) == LIGHTGREEN && getpixel(0, 40) == BLACK && getpixel(2, 41) == LIGHTGREEN);
    setfillstyle(SOLID_FILL, BLUE);
    bar3d(50, 100, 90, 150, 10, 1);
    CHECK(getpixel(70, 125) == BLUE && getpixel(50, 125) == WHITE && getpixel(100, 95) == WHITE);
    fillellipse(200, 125, 30, 20);
    CHECK(getpixel(200, 125) == BLUE && getpixel(230, 125) == WHITE && getpixel(200, 150) == BLACK);
    pieslice(300, 125, 0, 90, 25);
    CHECK(getpixel(310, 115) == BLUE && getpixel(290, 135) == BLACK);
    sector(400, 125, 180, 270, 30, 20);
    CHECK(getpixel(390, 130) == BLUE && getpixel(410, 120) == BLACK);
    {
        int tri[] = {450, 100, 500, 100, 475, 150};
        fillpoly(3, tri);
        CHECK(getpixel(475, 110) == BLUE && getpixel(475, 100) == WHITE);
    }
    setcolor(RED);
    rectangle(100, 300, 140, 340);
    setfillstyle(SOLID_FILL, GREEN);
    floodfill(120, 320, RED);
    CHECK(count(101, 301, 139, 339, GREEN) == 39 * 39 && getpixel(141, 320) == BLACK);
    setcolor(WHITE);
}

static void viewports(void) {
    struct viewporttype v;
    cleardevice();
    setviewport(100, 100, 199, 199, 1);
    getviewsettings(&v);
    CHECK(v.left == 100 && v.top == 100 && v.right == 199 && v.bottom == 199 && v.clip == 1);
    line(-50, 10, 150, 10); /* relative, cut at the viewport's edges */
    setviewport(0, 0, getmaxx(), getmaxy(), 1);
    CHECK(count(0, 110, 639, 110, WHITE) == 100 && getpixel(100, 110) == WHITE && getpixel(99, 110) == BLACK);
    setviewport(100, 100, 199, 199, 0);
    circle(0, 0, 10); /* no clip: the part off the viewport shows; off the screen nothing */
    setviewport(0, 0, getmaxx(), getmaxy(), 1);
    CHECK(getpixel(90, 100) == WHITE && getpixel(110, 100) == WHITE);
    setviewport(600, 400, 639, 479, 1);
    setfillstyle(SOLID_FILL, CYAN);
    bar(-10, -10, 100, 100);
    clearviewport();
    setviewport(0, 0, getmaxx(), getmaxy(), 1);
    CHECK(getpixel(620, 420) == BLACK && getpixel(599, 420) == BLACK);
    cleardevice();
    setviewport(300, 300, 349, 349, 1); /* a flood fill and text stop at a clipping viewport's edge */
    setfillstyle(SOLID_FILL, RED);
    floodfill(10, 10, WHITE);
    outtextxy(45, 20, "W");
    setviewport(0, 0, getmaxx(), getmaxy(), 1);
    CHECK(count(300, 300, 349, 349, RED) > 2400 && getpixel(299, 320) == BLACK && getpixel(350, 320) == BLACK);
    CHECK(count(345, 320, 349, 327, WHITE) > 0 && count(350, 320, 353, 327, WHITE) == 0);
    setviewport(10, 10, 5, 5, 1); /* corners in the wrong order: refused */
    CHECK(graphresult() == grError);
}

static void text(void) {
    struct textsettingstype t;
    cleardevice();
    CHECK(textwidth("A") == 8 && textheight("A") == 8 && textwidth("Hello") == 40);
    outtextxy(100, 100, "A"); /* LEFT_TEXT, TOP_TEXT: the cell's top-left at the point */
    CHECK(count(100, 100, 107, 107, WHITE) > 8 && count(92, 92, 115, 99, WHITE) == 0 && count(108, 100, 115, 107, WHITE) == 0);
    settextjustify(CENTER_TEXT, CENTER_TEXT);
    outtextxy(200, 100, "AB");
    CHECK(count(192, 96, 207, 103, WHITE) > 16 && count(180, 90, 191, 110, WHITE) == 0 && count(208, 90, 220, 110, WHITE) == 0);
    settextjustify(RIGHT_TEXT, BOTTOM_TEXT);
    outtextxy(300, 100, "A");
    CHECK(count(292, 92, 299, 99, WHITE) > 8 && count(300, 90, 310, 110, WHITE) == 0);
    settextjustify(LEFT_TEXT, TOP_TEXT);
    settextstyle(DEFAULT_FONT, VERT_DIR, 2);
    gettextsettings(&t);
    CHECK(t.font == DEFAULT_FONT && t.direction == VERT_DIR && t.charsize == 2 && textwidth("AB") == 32);
    outtextxy(400, 100, "AB"); /* 16 across, 32 up from the bottom */
    CHECK(count(400, 100, 415, 131, WHITE) > 32 && count(416, 100, 440, 140, WHITE) == 0);
    settextstyle(TRIPLEX_FONT, HORIZ_DIR, 4);
    CHECK(textheight("A") > 8 && textwidth("AB") > textwidth("A"));
    setviewport(470, 280, 620, 370, 1); /* a stroked font's face, cut by the viewport */
    clearviewport();
    setviewport(500, 300, 560, 340, 1);
    setcolor(WHITE);
    outtextxy(-10, 0, "WW");
    setviewport(0, 0, getmaxx(), getmaxy(), 1);
    CHECK(count(500, 300, 560, 340, WHITE) > 20 && count(470, 280, 499, 370, WHITE) == 0 &&
          count(561, 280, 620, 370, WHITE) == 0);
    { /* Borland's example: "Norm", then three times as wide, then a third as wide, as high */
        int w = textwidth("Wide"), h = textheight("Wide");
        setusercharsize(3, 1, 1, 1);
        CHECK(abs(textwidth("Wide") - 3 * w) <= 3 && textheight("Wide") == h);
        setusercharsize(1, 3, 1, 1);
        CHECK(abs(textwidth("Wide") - w / 3) <= 1);
        setviewport(0, 380, getmaxx(), 379 + h, 1);
        clearviewport();
        outtextxy(10, 0, "Wide");
        setviewport(0, 0, getmaxx(), getmaxy(), 1);
        CHECK(count(10, 380, 10 + w / 3, 379 + h, WHITE) > 10 && count(12 + w / 3, 380, 10 + w, 379 + h, WHITE) == 0);
    }
    setusercharsize(2, 1, 3, 1);
    gettextsettings(&t);
    CHECK(t.charsize == USER_CHAR_SIZE);
    settextstyle(DEFAULT_FONT, HORIZ_DIR, 1);
    moveto(10, 200);
    outtext("Hi");
    CHECK(getx() == 26);
    settextstyle(99, HORIZ_DIR, 1);
    CHECK(graphresult() == grInvalidFontNum);
    CHECK(installuserfont("missing.chr") == grFontNotFound && graphresult() == grFontNotFound);
    { /* a stroke font of one character: 'A', one stroke from (0, 0) up to (10, 20), 12 wide */
        static const unsigned char chr[] = {'P', 'K', 8, 8, 'B', 'G', 'I', ' ', 'x', 0x1A, 0x80, 0, 'T', 'E', 'S', 'T'};
        static const unsigned char header[] = {'+', 1, 0, 0, 'A', 0x13, 0, 0, 20, 0, 0xF9, 'T', 'E', 'S', 'T', 0,
                                               0, 0, 12, 0x80, 0x00, 0x8A, 0x94, 0x00, 0x00};
        static const unsigned char pad[0x80 - sizeof chr] = {0};
        int font;
        FILE* f = fopen("test.chr", "wb");
        fwrite(chr, 1, sizeof chr, f), fwrite(pad, 1, sizeof pad, f), fwrite(header, 1, sizeof header, f);
        fclose(f);
        font = installuserfont("test.chr");
        CHECK(font == 11);
        settextstyle(font, HORIZ_DIR, 4); /* size 4: the font's own units are pixels */
        CHECK(textwidth("AA") == 24 && textheight("A") == 27);
        outtextxy(100, 300, "A"); /* the box's top at the capitals' top: y = 300 + 20 - font y */
        CHECK(getpixel(100, 320) == WHITE && getpixel(105, 310) == WHITE && getpixel(110, 300) == WHITE &&
              getpixel(110, 320) == BLACK);
        settextstyle(DEFAULT_FONT, HORIZ_DIR, 1);
    }
}

static void images(void) {
    void* block;
    unsigned size;
    cleardevice();
    setfillstyle(SOLID_FILL, LIGHTBLUE);
    bar(10, 10, 19, 19);
    size = imagesize(10, 10, 19, 19);
    CHECK(size >= 100);
    block = farmalloc(size); /* as Borland's getimage example */
    getimage(10, 10, 19, 19, block);
    putimage(100, 100, block, COPY_PUT);
    CHECK(count(100, 100, 109, 109, LIGHTBLUE) == 100);
    putimage(100, 100, block, XOR_PUT);
    CHECK(count(100, 100, 109, 109, BLACK) == 100);
    putimage(100, 100, block, OR_PUT);
    putimage(100, 100, block, AND_PUT);
    CHECK(getpixel(105, 105) == LIGHTBLUE);
    putimage(100, 100, block, NOT_PUT);
    CHECK(getpixel(105, 105) != LIGHTBLUE);
    putimage(-5, -5, block, COPY_PUT); /* cut at the screen's corner */
    CHECK(getpixel(0, 0) == LIGHTBLUE && getpixel(4, 4) == LIGHTBLUE);
    putimage(0, 0, block, 9);
    CHECK(graphresult() == grError);
    farfree(block);
    setactivepage(1); /* a page of its own: black, and what is drawn on it stays on it */
    setvisualpage(0);
    CHECK(getactivepage() == 1 && getvisualpage() == 0 && getpixel(105, 105) == BLACK);
    putpixel(3, 3, YELLOW);
    setactivepage(0);
    CHECK(getpixel(3, 3) != YELLOW && getpixel(0, 0) == LIGHTBLUE);
    setactivepage(1);
    CHECK(getpixel(3, 3) == YELLOW);
    swapbuffers();
    CHECK(getactivepage() == 0 && getvisualpage() == 1);
    setactivepage(0);
    setvisualpage(0);
    setactivepage(7);
    CHECK(graphresult() == grError);
    writeimagefile("bgi_c.bmp", 0, 0, getmaxx(), getmaxy());
    writeimagefile("bgi_c_part.png", 10, 10, 19, 19); /* a part, as PNG as the whole picture is */
    {
        unsigned char head[4] = {0};
        FILE* f = fopen("bgi_c_part.png", "rb");
        CHECK(f != NULL && fread(head, 1, 4, f) == 4 && memcmp(head, "\x89PNG", 4) == 0);
        if (f != NULL) fclose(f);
    }
    cleardevice();
    readimagefile("bgi_c_part.png", 200, 200, 209, 209);
    CHECK(getpixel(205, 205) == LIGHTBLUE && graphresult() == grOk);
}

static void colours(void) {
    struct palettetype p, *d = getdefaultpalette();
    int xa, ya;
    CHECK(getmaxcolor() == 15 && getpalettesize() == 16 && d->size == 16 && d->colors[6] == EGA_BROWN);
    getpalette(&p);
    CHECK(p.colors[WHITE] == EGA_WHITE);
    cleardevice();
    putpixel(7, 7, RED);
    setpalette(RED, EGA_YELLOW); /* what is drawn in red turns yellow, as on the VGA */
    getpalette(&p);
    CHECK(p.colors[RED] == EGA_YELLOW && getpixel(7, 7) == RED && converttorgb(RED) == 0x55FFFF);
    setbkcolor(GREEN); /* as WinBGIm: the picture stays, the next clear shows it */
    CHECK(getpixel(600, 400) == BLACK && getpixel(7, 7) == RED);
    setbkcolor(BLACK);
    setallpalette(d);
    p = *d;
    p.colors[1] = 64; /* one bad entry: none is taken */
    p.colors[2] = EGA_RED;
    setallpalette(&p);
    getpalette(&p);
    CHECK(graphresult() == grError && p.colors[2] == EGA_GREEN);
    setrgbpalette(CYAN, 10, 20, 30);
    putpixel(1, 1, CYAN);
    CHECK(getpixel(1, 1) == CYAN);
    putpixel(2, 1, COLOR(1, 2, 3));
    CHECK(getpixel(2, 1) == COLOR(1, 2, 3) && IS_RGB_COLOR(COLOR(1, 2, 3)) && !IS_BGI_COLOR(COLOR(1, 2, 3)));
    CHECK(RED_VALUE(COLOR(1, 2, 3)) == 1 && GREEN_VALUE(COLOR(1, 2, 3)) == 2 && BLUE_VALUE(COLOR(1, 2, 3)) == 3);
    setallpalette(d);
    setcolor(YELLOW);
    setbkcolor(BLUE);
    CHECK(getcolor() == YELLOW && getbkcolor() == BLUE);
    cleardevice();
    CHECK(getpixel(320, 240) == BLUE);
    setcolor(77);
    CHECK(graphresult() == grError && getcolor() == YELLOW);
    setbkcolor(BLACK);
    setcolor(WHITE);
    getaspectratio(&xa, &ya);
    CHECK(xa == 10000 && ya == 10000);
    setaspectratio(5000, 10000);
    getaspectratio(&xa, &ya);
    CHECK(xa == 5000);
    setaspectratio(10000, 10000);
}

static void robustness(void) {
    static int many[200000];
    int i;
    for (i = 0; i < 100000; ++i) many[2 * i] = 320 + (i % 2 ? 100 : -100), many[2 * i + 1] = i % 480;
    fillpoly(100000, many);
    drawpoly(100000, many);
    fillpoly(-1, many);
    CHECK(graphresult() == grError);
    drawpoly(5, NULL);
    CHECK(graphresult() == grError);
    setlinestyle(9, 0, 1);
    setfillstyle(42, 1);
    CHECK(graphresult() == grError);
    circle(100, 100, -5);
    getviewsettings(NULL);
    outtextxy(0, 0, NULL);
    putimage(0, 0, NULL, COPY_PUT);
    getmouseclick(12345, NULL, NULL);
    CHECK(graphresult() == grError);
    line(-2000000000, -2000000000, 2000000000, 2000000000);
    circle(0, 0, 1000000);
    bar(-2000000000, 0, 2000000000, 5);
}

int main(void) {
    int gd = DETECT, gm, lo, hi;
    HWND window;
    FreeConsole(); /* WINE: with no terminal the process has no console: one of its own for the keys */
    AllocConsole();
    CHECK(graphresult() == grOk);
    line(0, 0, 1, 1);
    CHECK(graphresult() == grNoInitGraph);
    CHECK(strcmp(grapherrormsg(grNotDetected), "Graphics hardware not detected") == 0);
    detectgraph(&gd, &gm);
    CHECK(gd == VGA && gm == VGAHI);
    gd = 42;
    initgraph(&gd, &gm, "");
    CHECK(gd == grInvalidDriver && graphresult() == grInvalidDriver);
    gd = VGA, gm = 7;
    initgraph(&gd, &gm, "");
    CHECK(gd == grInvalidMode && graphresult() == grInvalidMode);
    gd = DETECT;
    initgraph(&gd, &gm, "");
    CHECK(graphresult() == grOk && gd == VGA && gm == VGAHI && getmaxx() == 639 && getmaxy() == 479);
    CHECK(getgraphmode() == VGAHI && getmaxmode() == VGAHI && strcmp(getdrivername(), "EGAVGA") == 0);
    CHECK(strcmp(getmodename(VGAHI), "640 x 480 VGA") == 0);
    getmoderange(VGA, &lo, &hi);
    CHECK(lo == VGALO && hi == VGAHI);
    CHECK(setgraphbufsize(8192) == 4096 && registerbgidriver(NULL) == grInvalidDriver);
    CHECK(installuserdriver("X.BGI", NULL) == 11 && installuserdriver(NULL, NULL) == grError && graphresult() == grError);
    getmoderange(11, &lo, &hi); /* an installed driver draws as VGA */
    CHECK(lo == VGALO && hi == VGAHI);
    CHECK(getcurrentwindow() == 0 && getwindowwidth() == 640 && getmaxwidth() >= 640 && getmaxheight() > 0);
    shapes();
    fills();
    viewports();
    text();
    images();
    colours();
    robustness();
    graphdefaults();
    restorecrtmode();
    setgraphmode(VGAHI);
    CHECK(graphresult() == grOk);
    key(0x1E, 'a');
    key(0x48, 0); /* Up: 0, then KEY_UP */
    delay(300);
    CHECK(kbhit() && getch() == 'a' && getch() == 0 && getch() == KEY_UP && !kbhit());
    key(0x1F, 's'); /* <conio.h>'s own names read the same keys */
    delay(300);
    CHECK(_kbhit() && _getch() == 's');
    window = FindWindowA("GraphWnd", NULL);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    delay(300);
    CHECK(ismouseclick(WM_LBUTTONDOWN) && ismouseclick(WM_LBUTTONUP));
    {
        int x, y;
        getmouseclick(WM_LBUTTONDOWN, &x, &y);
        CHECK(x == 30 && y == 40 && mousex() == 30 && mousey() == 40 && !ismouseclick(WM_LBUTTONDOWN));
        clearmouseclick(WM_LBUTTONUP);
        CHECK(!ismouseclick(WM_LBUTTONUP));
        setmousequeuestatus(WM_MOUSEMOVE, 0);
        registermousehandler(WM_MOUSEMOVE, NULL);
    }
    if (failures) return failures;
    printf("all checks passed\n");
    fflush(stdout);
    atexit(closed);
    PostMessageA(window, WM_CLOSE, 0, 0);
    delay(5000); /* the close box ends the program here */
    closegraph();
    return 99;
}
