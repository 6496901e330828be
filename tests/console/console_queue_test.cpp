// The console input queue and key reading on a real console: key records are
// written into the console input and read back through IO_KeyPressed/IO_RdKey.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <utility>
#include <vector>

#include "BiosIO.h"
#include "IO.h"
#include "Lib.h"
#include "kfrEvQue.h"
#include "kfrEvQueInternal.h"
#include "kfrIGraph.h"
#include "keys.h"

namespace {

constexpr DWORD kWaitLimitMs = 5000;

std::atomic<int> beeps{0};
void countBeep() { beeps.fetch_add(1); }

INPUT_RECORD key(WORD scan, char ch = 0, DWORD state = 0, BOOL down = TRUE, WORD repeat = 1) {
    INPUT_RECORD r{};
    r.EventType = KEY_EVENT;
    r.Event.KeyEvent.bKeyDown = down;
    r.Event.KeyEvent.wRepeatCount = repeat;
    r.Event.KeyEvent.wVirtualScanCode = scan;
    r.Event.KeyEvent.uChar.AsciiChar = ch;
    r.Event.KeyEvent.dwControlKeyState = state;
    return r;
}

// Shift+3: its character '#' ends each batch of records.
INPUT_RECORD sentinel() { return key(0x04, '#', SHIFT_PRESSED); }

void send(std::vector<INPUT_RECORD> records) {
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputA(kfrIGraph_hConsoleInput, records.data(),
                                   static_cast<DWORD>(records.size()), &written));
    ASSERT_EQ(written, records.size());
}

bool waitForKey() {
    const ULONGLONG end = GetTickCount64() + kWaitLimitMs;
    while (!IO_KeyPressed()) {
        if (GetTickCount64() > end) return false;
        Sleep(1);
    }
    return true;
}

// Every IO_RdKey result up to the sentinel, each with BiosIO_LastScan after it.
std::vector<std::pair<int, int>> readUpToSentinel() {
    std::vector<std::pair<int, int>> keys;
    for (;;) {
        if (BiosIO_LastChar != 0 && !waitForKey()) {
            ADD_FAILURE() << "no key within the time limit";
            return keys;
        }
        const int k = IO_RdKey();
        if (k == '#' && BiosIO_LastChar == '#') return keys;
        keys.emplace_back(k, BiosIO_LastScan);
    }
}

class ConsoleQueue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // NOTE: under CTest the process has no console; a fresh one needs a display.
        // WINE: AllocConsole right after FreeConsole failed once in a loaded
        // run; a few tries tell a slow console host from a missing one.
        FreeConsole();
        consoleMade = AllocConsole();
        for (int i = 0; i < 10 && !consoleMade; ++i) {
            Sleep(100);
            consoleMade = AllocConsole();
        }
        if (!consoleMade) return;
        HANDLE in = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
        inputOpened = in != INVALID_HANDLE_VALUE;
        if (!inputOpened) return;
        SetStdHandle(STD_INPUT_HANDLE, in);
        kfrEvQue_fullQueueBeep = countBeep;
        Lib_BEGIN();
        IO_BEGIN();
    }

    // A failed suite set-up is reported here, by every case: GoogleTest would
    // report the cases as skipped, and CTest would count that as no failure.
    void SetUp() override {
        ASSERT_TRUE(consoleMade) << "AllocConsole failed";
        ASSERT_TRUE(inputOpened) << "CONIN$ could not be opened";
    }

    static inline bool consoleMade = false;
    static inline bool inputOpened = false;
};

TEST_F(ConsoleQueue, InputModeWhileRunning) {
    DWORD mode = 0;
    ASSERT_TRUE(GetConsoleMode(kfrIGraph_hConsoleInput, &mode));
    EXPECT_EQ(mode, 0x17u);
    EXPECT_NE(kfrEvQue_readerHandle(), nullptr);
}

TEST_F(ConsoleQueue, TypedAndForwardedKeys) {
    send({
        key(0x16, 'u', NUMLOCK_ON),                         // u typed
        key(0x16),                                          // u forwarded from the window
        key(0x16, 0, SHIFT_PRESSED),                        // Shift+U forwarded
        key(0x3B),                                          // F1
        key(0x3B, 0, SHIFT_PRESSED),                        // Shift+F1
        key(0x10, 'q', LEFT_ALT_PRESSED),                   // Alt+Q
        key(0x10, 0x11, LEFT_CTRL_PRESSED),                 // Ctrl+Q
        key(0x48, 0, ENHANCED_KEY),                         // Up
        key(0x48, 0, ENHANCED_KEY | RIGHT_CTRL_PRESSED),    // Ctrl+Up
        key(0x1C, '\r', ENHANCED_KEY),                      // keypad Enter
        key(0x2E, 0, LEFT_CTRL_PRESSED),                    // Ctrl+C forwarded: an ordinary key
        key(0x35, '\xFF'),                                  // character 0xFF is no code
        sentinel(),
    });
    const std::vector<std::pair<int, int>> expected = {
        {0x75, 0x16}, {0x75, 0x16}, {0x55, 0x16}, {0x00, 0x3B}, {0x3B, 0x3B}, {0x00, 0x54},
        {0x54, 0x54}, {0x00, 0x10}, {0x10, 0x10}, {0x11, 0x10}, {0x00, 0x48}, {0x48, 0x48},
        {0x00, 0x8D}, {0x8D, 0x8D}, {0x0D, 0xE0}, {0x03, 0x2E}, {0xFF, 0x35},
    };
    EXPECT_EQ(readUpToSentinel(), expected);
}

TEST_F(ConsoleQueue, RecordsThatQueueNothing) {
    INPUT_RECORD mouse{};
    mouse.EventType = MOUSE_EVENT;
    mouse.Event.MouseEvent.dwButtonState = FROM_LEFT_1ST_BUTTON_PRESSED;
    INPUT_RECORD focus{};
    focus.EventType = FOCUS_EVENT;
    focus.Event.FocusEvent.bSetFocus = TRUE;
    send({
        key(0x2A, 0, SHIFT_PRESSED),         // Shift alone
        key(0x2A, 'x', SHIFT_PRESSED),       // scan 42 with Shift, even with a character
        key(0x1D, 0, LEFT_CTRL_PRESSED),     // Ctrl alone
        key(0x38, 0, LEFT_ALT_PRESSED),      // Alt alone
        key(0x3A, 0, CAPSLOCK_ON),           // Caps Lock
        key(0x02, 0, LEFT_CTRL_PRESSED),     // Ctrl+1
        key(0x16, 'u', 0, FALSE),            // key releases
        key(0x3B, 0, 0, FALSE),
        key(89),                             // scan codes beyond the table
        key(0x7F, 0, SHIFT_PRESSED),
        mouse,
        focus,
        sentinel(),
    });
    EXPECT_TRUE(readUpToSentinel().empty());
    EXPECT_FALSE(IO_KeyPressed());
}

TEST_F(ConsoleQueue, RepeatCountGivesOneEntry) {
    send({key(0x17, 'i', 0, TRUE, 3), sentinel()});
    const std::vector<std::pair<int, int>> expected = {{0x69, 0x17}};
    EXPECT_EQ(readUpToSentinel(), expected);
}

TEST_F(ConsoleQueue, FullQueueDropsTheNextKeyWithABeep) {
    std::vector<INPUT_RECORD> records;
    for (int i = 0; i < 34; ++i) records.push_back(key(0x39, static_cast<char>('A' + i)));
    send(records);
    const ULONGLONG end = GetTickCount64() + kWaitLimitMs;
    while (beeps.load() == 0 && GetTickCount64() < end) Sleep(1);
    EXPECT_EQ(beeps.load(), 1);
    EXPECT_EQ(kfrEvQue_count(), 33);
    for (int i = 0; i < 33; ++i) {
        ASSERT_TRUE(IO_KeyPressed());
        EXPECT_EQ(IO_RdKey(), 'A' + i);
    }
    EXPECT_FALSE(IO_KeyPressed());
    // Room again: the next key is queued without a beep.
    send({sentinel()});
    EXPECT_TRUE(readUpToSentinel().empty());
    EXPECT_EQ(beeps.load(), 1);
}

// Floods of 1,000 keys at once, typed in the console and forwarded by the
// graphics window (as its key translation makes them) in turn, ten times.
TEST_F(ConsoleQueue, FloodsKeepTheFirst33AndBeepOncePerDroppedKey) {
    constexpr int kFlood = 1000;
    const char* const letters = "qwertyuiop"; // scan codes 0x10 to 0x19
    for (int round = 0; round < 10; ++round) {
        std::vector<INPUT_RECORD> records;
        std::vector<std::pair<int, int>> arriving;
        Graph_ModifierState modifiers;
        for (int i = 0; i < kFlood; ++i) {
            if (i % 2 == 0) {
                const char ch = static_cast<char>('0' + (i / 2) % 40);
                records.push_back(key(0x39, ch));
                arriving.emplace_back(ch, 0x39);
            } else {
                const uint32_t scan = 0x10 + (i / 2) % 10;
                records.push_back(kfrIGraph_toRecord(Graph_TranslateKey(modifiers, scan << 16 | 1, true)));
                arriving.emplace_back(letters[scan - 0x10], scan);
            }
        }
        const int dropped = kFlood - kfrEvQue_capacity, beepsBefore = beeps.load();
        send(records);
        const ULONGLONG end = GetTickCount64() + 30000;
        while (beeps.load() < beepsBefore + dropped && GetTickCount64() < end) Sleep(1);
        ASSERT_EQ(kfrEvQue_count(), kfrEvQue_capacity);
        arriving.resize(kfrEvQue_capacity);
        std::vector<std::pair<int, int>> read;
        while (IO_KeyPressed()) read.emplace_back(IO_RdKey(), BiosIO_LastScan);
        EXPECT_EQ(read, arriving);
        send({key(0x17, 'i'), sentinel()}); // nothing after the flood is lost
        const std::vector<std::pair<int, int>> after = {{'i', 0x17}};
        EXPECT_EQ(readUpToSentinel(), after);
        ASSERT_EQ(beeps.load(), beepsBefore + dropped) << "round " << round;
    }
}

// 100 keys among 10,000 mouse, focus, menu and buffer-size records.
TEST_F(ConsoleQueue, KeysAmongForeignRecordsAllArriveInOrder) {
    std::vector<INPUT_RECORD> records;
    std::vector<std::pair<int, int>> keys;
    for (int i = 0; i < 10000; ++i) {
        INPUT_RECORD r{};
        const SHORT n = static_cast<SHORT>(i % 80);
        switch (i % 4) {
        case 0:
            r.EventType = MOUSE_EVENT;
            r.Event.MouseEvent = {{n, 5}, FROM_LEFT_1ST_BUTTON_PRESSED, 0, MOUSE_MOVED};
            break;
        case 1:
            r.EventType = FOCUS_EVENT;
            r.Event.FocusEvent.bSetFocus = (i / 4) % 2;
            break;
        case 2:
            r.EventType = MENU_EVENT;
            r.Event.MenuEvent.dwCommandId = i;
            break;
        default:
            r.EventType = WINDOW_BUFFER_SIZE_EVENT;
            r.Event.WindowBufferSizeEvent.dwSize = {static_cast<SHORT>(40 + n), 25};
        }
        records.push_back(r);
        if (i % 100 == 37) {
            const int k = i / 100, ch = '0' + k % 50, scan = 0x10 + k / 50;
            records.push_back(key(static_cast<WORD>(scan), static_cast<char>(ch)));
            keys.emplace_back(ch, scan);
        }
    }
    records.push_back(sentinel());
    const int beepsBefore = beeps.load();
    send(records);
    EXPECT_EQ(readUpToSentinel(), keys);
    EXPECT_EQ(beeps.load(), beepsBefore);
}

TEST_F(ConsoleQueue, GetKeyWithoutWaitOnEmptyQueue) {
    // A read that waited would wait for a key for ever: the ceiling only has to
    // tell that apart from a return, on a loaded or emulated machine too.
    uint8_t ch = 0x5A, scan = 0x5B;
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(kfrEvQue_getKey(ch, scan, false));
    EXPECT_LT(GetTickCount64() - start, 5000u);
    EXPECT_EQ(ch, 0x5A);
    EXPECT_EQ(scan, 0x5B);
}

DWORD WINAPI sendF2Later(LPVOID) {
    Sleep(200);
    send({key(0x3C)});
    return 0;
}

TEST_F(ConsoleQueue, GetKeyWaitsForAKey) {
    HANDLE writer = CreateThread(nullptr, 0, sendF2Later, nullptr, 0, nullptr);
    ASSERT_NE(writer, nullptr);
    uint8_t ch = 1, scan = 0;
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(kfrEvQue_getKey(ch, scan, true));
    EXPECT_GE(GetTickCount64() - start, 150u);
    EXPECT_EQ(ch, 0);
    EXPECT_EQ(scan, 0x3C);
    WaitForSingleObject(writer, kWaitLimitMs);
    CloseHandle(writer);
}

TEST_F(ConsoleQueue, PeekLeavesTheKeyForGet) {
    send({key(0x44), key(0x10)});
    ASSERT_TRUE(waitForKey());
    uint8_t ch1 = 9, scan1 = 9, ch2 = 9, scan2 = 9;
    ASSERT_TRUE(kfrEvQue_peekKey(ch1, scan1));
    ASSERT_TRUE(kfrEvQue_peekKey(ch2, scan2));
    EXPECT_EQ(ch1, 0);
    EXPECT_EQ(scan1, 0x44);
    EXPECT_EQ(ch2, 0);
    EXPECT_EQ(scan2, 0x44);
    uint8_t ch = 9, scan = 9;
    ASSERT_TRUE(kfrEvQue_getKey(ch, scan, false));
    EXPECT_EQ(ch, 0);
    EXPECT_EQ(scan, 0x44);
    ASSERT_TRUE(waitForKey());
    EXPECT_EQ(IO_RdKey(), 'q');
}

TEST_F(ConsoleQueue, PendingCodeComesBeforeTheQueue) {
    send({key(0x3B)}); // F1 alone
    ASSERT_TRUE(waitForKey());
    EXPECT_EQ(IO_RdKey(), 0);
    EXPECT_FALSE(IO_KeyPressed()); // the pending code is not a queued key
    EXPECT_EQ(IO_RdKey(), 0x3B);   // and is returned without waiting
    EXPECT_EQ(BiosIO_LastChar, 0xFF);

    send({key(0x3B), key(0x10)}); // F1 then q
    ASSERT_TRUE(waitForKey());
    EXPECT_EQ(IO_RdKey(), 0);
    const ULONGLONG end = GetTickCount64() + kWaitLimitMs;
    while (kfrEvQue_count() < 1 && GetTickCount64() < end) Sleep(1);
    EXPECT_TRUE(IO_KeyPressed());
    EXPECT_EQ(IO_RdKey(), 0x3B);
    EXPECT_EQ(IO_RdKey(), 'q');
}

} // namespace
