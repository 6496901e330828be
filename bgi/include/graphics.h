/* graphics.h: the BGI graphics library (Borland's classic calls and WinBGIm's
 * additions) on Plimo's Graph window, for C (C99 and later) and C++ (C++11
 * and later), 32 and 64 bits.
 *
 * Every call is a C function (extern "C"). C++ gets on top of them WinBGIm's
 * default arguments and the forms that take references, e.g.
 * getmouseclick(kind, x, y) with int& x, int& y; C passes pointers there.
 * Main thread: every call runs on the thread that opened the window (the
 * program's main thread); the library keeps no lock.
 *
 * docs/bgi.md lists every call, what it does here and where it differs from
 * Borland's library or WinBGIm.
 */
#ifndef PLIMO_BGI_GRAPHICS_H
#define PLIMO_BGI_GRAPHICS_H

/* WinBGIm's header brings <windows.h> with it, and the programs written for it
 * call Sleep, GetAsyncKeyState and the like on that alone. Its lean part only:
 * the whole of it declares a type `byte` that a program's `using namespace
 * std;` before the header makes ambiguous with C++17's std::byte. Define
 * PLIMO_BGI_NO_WINDOWS_H before the header to leave it out. */
#ifndef PLIMO_BGI_NO_WINDOWS_H
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#define PLIMO_BGI_LEAN
#endif
#include <windows.h>
#ifdef PLIMO_BGI_LEAN
#undef WIN32_LEAN_AND_MEAN
#undef PLIMO_BGI_LEAN
#endif
#endif

#ifdef __cplusplus
#include <sstream>
#define PLIMO_BGI_DEFAULT(value) = value
extern "C" {
#else
#define PLIMO_BGI_DEFAULT(value)
#endif

/* Borland's memory-model keywords, found in its examples' declarations
 * ("char far *", "int huge detect(void)"): nothing on a flat address space.
 * Define PLIMO_BGI_NO_FAR before the header to keep the names free. */
#ifndef PLIMO_BGI_NO_FAR
#ifndef far
#define far
#endif
#ifndef near
#define near
#endif
#ifndef huge
#define huge
#endif
#endif

/* ---- drivers, modes, results ---- */
enum graphics_drivers {
    DETECT, CGA, MCGA, EGA, EGA64, EGAMONO, IBM8514, HERCMONO, ATT400, VGA, PC3270,
    CURRENT_DRIVER = -1
};
enum graphics_modes {
    CGAC0 = 0, CGAC1 = 1, CGAC2 = 2, CGAC3 = 3, CGAHI = 4,
    MCGAC0 = 0, MCGAC1 = 1, MCGAC2 = 2, MCGAC3 = 3, MCGAMED = 4, MCGAHI = 5,
    EGALO = 0, EGAHI = 1, EGA64LO = 0, EGA64HI = 1, EGAMONOHI = 3,
    HERCMONOHI = 0,
    ATT400C0 = 0, ATT400C1 = 1, ATT400C2 = 2, ATT400C3 = 3, ATT400MED = 4, ATT400HI = 5,
    VGALO = 0, VGAMED = 1, VGAHI = 2,
    PC3270HI = 0,
    IBM8514LO = 0, IBM8514HI = 1
};
enum graphics_errors {
    grOk = 0, grNoInitGraph = -1, grNotDetected = -2, grFileNotFound = -3, grInvalidDriver = -4,
    grNoLoadMem = -5, grNoScanMem = -6, grNoFloodMem = -7, grFontNotFound = -8, grNoFontMem = -9,
    grInvalidMode = -10, grError = -11, grIOerror = -12, grInvalidFont = -13, grInvalidFontNum = -14,
    grInvalidDeviceNum = -15, grInvalidVersion = -18
};

/* ---- colours ---- */
enum COLORS {
    BLACK, BLUE, GREEN, CYAN, RED, MAGENTA, BROWN, LIGHTGRAY,
    DARKGRAY, LIGHTBLUE, LIGHTGREEN, LIGHTCYAN, LIGHTRED, LIGHTMAGENTA, YELLOW, WHITE
};
enum EGA_COLORS {
    EGA_BLACK = 0, EGA_BLUE = 1, EGA_GREEN = 2, EGA_CYAN = 3, EGA_RED = 4, EGA_MAGENTA = 5,
    EGA_BROWN = 20, EGA_LIGHTGRAY = 7, EGA_DARKGRAY = 56, EGA_LIGHTBLUE = 57, EGA_LIGHTGREEN = 58,
    EGA_LIGHTCYAN = 59, EGA_LIGHTRED = 60, EGA_LIGHTMAGENTA = 61, EGA_YELLOW = 62, EGA_WHITE = 63
};
#define MAXCOLORS 15
/* WinBGIm's colours beside the 16: COLOR(r, g, b) is a colour of its own,
 * accepted wherever a colour number is. */
#define COLOR(r, g, b) (0x03000000 | ((r) & 0xFF) | (((g) & 0xFF) << 8) | (((b) & 0xFF) << 16))
#define RED_VALUE(v) ((v) & 0xFF)
#define GREEN_VALUE(v) (((v) >> 8) & 0xFF)
#define BLUE_VALUE(v) (((v) >> 16) & 0xFF)
#define IS_BGI_COLOR(v) (((v) >= 0) && ((v) < 16))
#define IS_RGB_COLOR(v) (((v) & 0x03000000) != 0)

/* ---- lines, fills, put modes ---- */
enum line_styles { SOLID_LINE, DOTTED_LINE, CENTER_LINE, DASHED_LINE, USERBIT_LINE };
enum line_widths { NORM_WIDTH = 1, THICK_WIDTH = 3 };
enum fill_patterns {
    EMPTY_FILL, SOLID_FILL, LINE_FILL, LTSLASH_FILL, SLASH_FILL, BKSLASH_FILL, LTBKSLASH_FILL,
    HATCH_FILL, XHATCH_FILL, INTERLEAVE_FILL, WIDE_DOT_FILL, CLOSE_DOT_FILL, USER_FILL
};
enum putimage_ops { COPY_PUT, XOR_PUT, OR_PUT, AND_PUT, NOT_PUT };

/* ---- text ---- */
enum font_names {
    DEFAULT_FONT, TRIPLEX_FONT, SMALL_FONT, SANS_SERIF_FONT, GOTHIC_FONT, SCRIPT_FONT, SIMPLEX_FONT,
    TRIPLEX_SCR_FONT, COMPLEX_FONT, EUROPEAN_FONT, BOLD_FONT
};
#define HORIZ_DIR 0
#define VERT_DIR 1
#define USER_CHAR_SIZE 0
enum text_just { LEFT_TEXT = 0, CENTER_TEXT = 1, RIGHT_TEXT = 2, BOTTOM_TEXT = 0, TOP_TEXT = 2 };

/* ---- keys (getch: 0, then one of these) ---- */
#define KEY_HOME 71
#define KEY_UP 72
#define KEY_PGUP 73
#define KEY_LEFT 75
#define KEY_CENTER 76
#define KEY_RIGHT 77
#define KEY_END 79
#define KEY_DOWN 80
#define KEY_PGDN 81
#define KEY_INSERT 82
#define KEY_DELETE 83
#define KEY_F1 59
#define KEY_F2 60
#define KEY_F3 61
#define KEY_F4 62
#define KEY_F5 63
#define KEY_F6 64
#define KEY_F7 65
#define KEY_F8 66
#define KEY_F9 67

/* ---- mouse event kinds: the Win32 message numbers, spelled as <windows.h>
 * spells them so that either header may come first ---- */
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209

/* ---- windows (there is one) ---- */
#define CURRENT_WINDOW -1
#define ALL_WINDOWS -2
#define NO_CURRENT_WINDOW -3

/* ---- structures ---- */
struct palettetype {
    unsigned char size;
    signed char colors[MAXCOLORS + 1];
};
struct linesettingstype {
    int linestyle;
    unsigned upattern;
    int thickness;
};
struct textsettingstype {
    int font, direction, charsize, horiz, vert;
};
struct fillsettingstype {
    int pattern, color;
};
struct pointtype {
    int x, y;
};
struct viewporttype {
    int left, top, right, bottom, clip;
};
struct arccoordstype {
    int x, y, xstart, ystart, xend, yend;
};
typedef struct palettetype palettetype;
typedef struct linesettingstype linesettingstype;
typedef struct textsettingstype textsettingstype;
typedef struct fillsettingstype fillsettingstype;
typedef struct pointtype pointtype;
typedef struct viewporttype viewporttype;
typedef struct arccoordstype arccoordstype;

/* ---- modes and errors ---- */
void initgraph(int* graphdriver, int* graphmode, const char* pathtodriver);
void closegraph(void);
int graphresult(void);
char* grapherrormsg(int errorcode);
void detectgraph(int* graphdriver, int* graphmode);
int getgraphmode(void);
void setgraphmode(int mode);
int getmaxmode(void);
char* getmodename(int mode_number);
char* getdrivername(void);
void getmoderange(int graphdriver, int* lomode, int* himode);
void restorecrtmode(void);
void graphdefaults(void);
/* What configures Borland's drivers and memory, answered as documented. */
int installuserdriver(const char* name, int (*detect)(void));
int registerbgidriver(void (*driver)(void));
int registerbgifont(void (*font)(void));
unsigned setgraphbufsize(unsigned bufsize);

/* ---- WinBGIm's window ---- */
int initwindow(int width, int height, const char* title PLIMO_BGI_DEFAULT("Windows BGI"),
               int left PLIMO_BGI_DEFAULT(0), int top PLIMO_BGI_DEFAULT(0), int dbflag PLIMO_BGI_DEFAULT(0),
               int closeflag PLIMO_BGI_DEFAULT(1));
int getcurrentwindow(void);
void setcurrentwindow(int window);
int getwindowwidth(void);
int getwindowheight(void);
int getmaxwidth(void);
int getmaxheight(void);

/* ---- state and viewports ---- */
int getmaxx(void);
int getmaxy(void);
int getx(void);
int gety(void);
void moveto(int x, int y);
void moverel(int dx, int dy);
void setviewport(int left, int top, int right, int bottom, int clip);
void getviewsettings(struct viewporttype* viewport);
void clearviewport(void);
void cleardevice(void);
void getaspectratio(int* xasp, int* yasp);
void setaspectratio(int xasp, int yasp);

/* ---- colours and palettes ---- */
void setcolor(int color);
int getcolor(void);
void setbkcolor(int color);
int getbkcolor(void);
int getmaxcolor(void);
void setpalette(int colornum, int color);
void setallpalette(const struct palettetype* palette);
void getpalette(struct palettetype* palette);
int getpalettesize(void);
struct palettetype* getdefaultpalette(void);
void setrgbpalette(int colornum, int red, int green, int blue);
/* WinBGIm: a colour number or COLOR() as Windows' RGB value (red in the low
 * byte), and as the COLOR() the window shows for it. */
int converttorgb(int color);
int getdisplaycolor(int color);

/* ---- lines and shapes ---- */
void setlinestyle(int linestyle, unsigned upattern, int thickness);
void getlinesettings(struct linesettingstype* lineinfo);
void setwritemode(int mode);
void line(int x1, int y1, int x2, int y2);
void lineto(int x, int y);
void linerel(int dx, int dy);
void rectangle(int left, int top, int right, int bottom);
void drawpoly(int numpoints, const int* polypoints);
void circle(int x, int y, int radius);
void arc(int x, int y, int stangle, int endangle, int radius);
void ellipse(int x, int y, int stangle, int endangle, int xradius, int yradius);
void getarccoords(struct arccoordstype* arccoords);
void putpixel(int x, int y, int color);
int getpixel(int x, int y);

/* ---- fills ---- */
void setfillstyle(int pattern, int color);
void setfillpattern(const char* upattern, int color);
void getfillsettings(struct fillsettingstype* fillinfo);
void getfillpattern(char* pattern);
void bar(int left, int top, int right, int bottom);
void bar3d(int left, int top, int right, int bottom, int depth, int topflag);
void fillpoly(int numpoints, const int* polypoints);
void fillellipse(int x, int y, int xradius, int yradius);
void pieslice(int x, int y, int stangle, int endangle, int radius);
void sector(int x, int y, int stangle, int endangle, int xradius, int yradius);
void floodfill(int x, int y, int border);

/* ---- text and fonts ---- */
void settextstyle(int font, int direction, int charsize);
void settextjustify(int horiz, int vert);
void setusercharsize(int multx, int divx, int multy, int divy);
void gettextsettings(struct textsettingstype* texttypeinfo);
int textwidth(const char* textstring);
int textheight(const char* textstring);
void outtext(const char* textstring);
void outtextxy(int x, int y, const char* textstring);
int installuserfont(const char* name);

/* ---- images and pages ---- */
unsigned imagesize(int left, int top, int right, int bottom);
void getimage(int left, int top, int right, int bottom, void* bitmap);
void putimage(int left, int top, const void* bitmap, int op);
void setactivepage(int page);
void setvisualpage(int page);
int getactivepage(void);
int getvisualpage(void);
void swapbuffers(void);
void readimagefile(const char* filename PLIMO_BGI_DEFAULT(0), int left PLIMO_BGI_DEFAULT(0),
                   int top PLIMO_BGI_DEFAULT(0), int right PLIMO_BGI_DEFAULT(0x7FFFFFFF),
                   int bottom PLIMO_BGI_DEFAULT(0x7FFFFFFF));
void writeimagefile(const char* filename PLIMO_BGI_DEFAULT(0), int left PLIMO_BGI_DEFAULT(0),
                    int top PLIMO_BGI_DEFAULT(0), int right PLIMO_BGI_DEFAULT(0x7FFFFFFF),
                    int bottom PLIMO_BGI_DEFAULT(0x7FFFFFFF));

/* ---- keys, mouse, time ---- */
/* The keys typed into the window or the console, as <conio.h>'s are read:
 * a key without a character is 0 and then its code (KEY_*). */
int getch(void);
int kbhit(void);
void delay(int msec);
int ismouseclick(int kind);
void getmouseclick(int kind, int* x, int* y);
void clearmouseclick(int kind);
int mousex(void);
int mousey(void);
void registermousehandler(int kind, void (*handler)(int x, int y));
void setmousequeuestatus(int kind, int status PLIMO_BGI_DEFAULT(1));

#ifdef __cplusplus
} /* extern "C" */

/* WinBGIm's C++ forms: references where C takes pointers, a window number
 * where Borland's closegraph takes none, and the text stream. */
inline void getmouseclick(int kind, int& x, int& y) { getmouseclick(kind, &x, &y); }
inline void closegraph(int window) {
    (void)window;
    closegraph();
}
inline void getaspectratio(int& xasp, int& yasp) { getaspectratio(&xasp, &yasp); }
inline void detectgraph(int& graphdriver, int& graphmode) { detectgraph(&graphdriver, &graphmode); }
inline void getmoderange(int graphdriver, int& lomode, int& himode) { getmoderange(graphdriver, &lomode, &himode); }
// WinBGIm's picture calls with their window arguments: the one window is
// the active one; printing has no printer here (grError).
inline void writeimagefile(const char* filename, int left, int top, int right, int bottom, bool active,
                           void* window = nullptr) {
    (void)active;
    (void)window;
    writeimagefile(filename, left, top, right, bottom);
}
void printimage(const char* title = nullptr, double width_inches = 7, double border_left_inches = 0.75,
                double border_top_inches = 0.75, int left = 0, int top = 0, int right = 0x7FFFFFFF,
                int bottom = 0x7FFFFFFF, bool active = true, void* window = nullptr);
extern std::ostringstream bgiout;
void outstream(std::ostringstream& out = bgiout);
void outstreamxy(int x, int y, std::ostringstream& out = bgiout);
#endif

#undef PLIMO_BGI_DEFAULT
#endif /* PLIMO_BGI_GRAPHICS_H */
