// Picture files of each form on real GDI: files of another writer
// (ImageMagick, tests/graph/CMakeLists.txt) load to their pixels, damaged ones
// draw nothing, pictures stretch to boxes, saved PNG files load back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "GraphFixture.h"

namespace {

// The 7 x 5 picture every made file holds.
uint32_t Made(int x, int y) {
    if (x == 6 && y == 4) return 0x00FF7F;
    return x >= 2 && x <= 4 && y >= 1 && y <= 3 ? 0xFF8000 : 0x123456;
}

std::string Made(const char* name) { return std::string(PLIMO_TEST_PICTURES) + "/" + name; }

std::string Scratch(const char* ending) {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    return std::string(path) + "plimo-pictures-" + std::to_string(GetCurrentProcessId()) + ending;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > tolerance) return false;
    }
    return true;
}

TEST_F(GraphTest, PictureFilesOfEachFormLoadToTheirPixels) {
    const struct { const char* name; int tolerance; } files[] = {
        {"truecolour.png", 0}, {"palette.png", 0}, {"photo.jpg", 8}, {"still.gif", 0}, {"moving.gif", 0}};
    for (const auto& file : files) {
        Graph_ClearScreen(0);
        ASSERT_TRUE(Graph_LoadPicture(Made(file.name).c_str(), 10, 20)) << file.name;
        ASSERT_TRUE(Graph_LoadPicture(Made(file.name).c_str(), 796, 597)) << file.name; // clipped
        const Picture p = Both();
        int wrong = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) wrong += !Near(p.at(10 + x, 20 + y), Made(x, y), file.tolerance);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) wrong += !Near(p.at(796 + x, 597 + y), Made(x, y), file.tolerance);
        EXPECT_EQ(wrong, 0) << file.name;
        EXPECT_EQ(p.count(0, 0, 799, 599, kBlack), 800 * 600 - 35 - 12) << file.name;
    }
}

TEST_F(GraphTest, DamagedPictureFilesDrawNothing) {
    const std::string scratch = Scratch(".pic");
    for (const char* name : {"truecolour.png", "palette.png", "photo.jpg", "still.gif", "moving.gif"}) {
        std::ifstream in(Made(name), std::ios::binary);
        const std::vector<char> whole{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_GT(whole.size(), 40u) << name;
        const bool png = whole[1] == 'P';
        const size_t data = std::string(whole.begin(), whole.end()).find("IDAT") + 6;
        // Cut short (in the middle, by a byte); for PNG, a pixel data byte and the width changed under the CRCs.
        for (int damage = 0; damage < (png ? 4 : 2); ++damage) {
            std::vector<char> f = whole;
            if (damage < 2) f.resize(damage == 0 ? f.size() / 2 : f.size() - 1);
            else f[damage == 2 ? data : 19] ^= 0x01;
            std::ofstream(scratch, std::ios::binary | std::ios::trunc).write(f.data(), static_cast<long>(f.size()));
            Graph_ClearScreen(0);
            EXPECT_FALSE(Graph_LoadPicture(scratch.c_str(), 0, 0)) << name << " damage " << damage;
            EXPECT_FALSE(Graph_LoadPictureBox(scratch.c_str(), 0, 0, 799, 599)) << name << " damage " << damage;
            EXPECT_EQ(Both().count(0, 0, 799, 599, kBlack), 800 * 600) << name << " damage " << damage;
        }
    }
    DeleteFileA(scratch.c_str());
}

TEST_F(GraphTest, PicturesStretchToTheirBox) {
    ASSERT_TRUE(Graph_LoadPictureBox(Made("truecolour.png").c_str(), 113, 29, 100, 20)); // twice the size
    ASSERT_TRUE(Graph_LoadPictureBox(Made("still.gif").c_str(), 790, 590, ~0u, ~0u));     // its corner, mostly outside
    const Picture p = Both();
    int wrong = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 14; ++x) wrong += p.at(100 + x, 20 + y) != Made(x / 2, y / 2);
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(p.all(790, 590, 799, 599, Made(0, 0)));
    EXPECT_EQ(p.count(0, 0, 799, 599, kBlack), 800 * 600 - 140 - 100);
}

TEST_F(GraphTest, SavedPngAndBmpFilesLoadBackIdentical) {
    for (uint32_t i = 0; i < 30; ++i) Graph_Ellipse(i * 25, i * 19, i * 25 + 60, i * 19 + 33, i % 16, i % 3 == 0);
    const Picture drawn = Both();
    for (const char* ending : {".PNG", ".bmp"}) {
        const std::string file = Scratch(ending);
        ASSERT_TRUE(Graph_SavePicture(file.c_str()));
        char signature[4] = {};
        std::ifstream(file, std::ios::binary).read(signature, 4);
        EXPECT_EQ(std::string(signature, ending[1] == 'P' ? 4 : 2), ending[1] == 'P' ? "\x89PNG" : "BM");
        for (bool box : {false, true}) {
            Graph_ClearScreen(0);
            ASSERT_TRUE(box ? Graph_LoadPictureBox(file.c_str(), 799, 599, 0, 0) : Graph_LoadPicture(file.c_str(), 0, 0));
            EXPECT_TRUE(Both().px == drawn.px) << ending << " box " << box;
        }
        DeleteFileA(file.c_str());
    }
}

} // namespace
