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

const char* const kMade[] = {"truecolour.png", "palette.png", "deep.png", "photo.jpg", "progressive.jpg", "still.gif",
                             "moving.gif"};

// The 7 x 5 picture every made file holds (a GIF's first image).
uint32_t Made(int x, int y) {
    return x == 6 && y == 4 ? 0x00FF7F : x >= 2 && x <= 4 && y >= 1 && y <= 3 ? 0xFF8000 : 0x123456;
}
std::string Made(const char* name) { return std::string(PLIMO_TEST_PICTURES) + "/" + name; }

std::string Scratch(const char* ending) {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    return std::string(path) + "plimo-pictures-" + std::to_string(GetCurrentProcessId()) + ending;
}

TEST_F(GraphTest, PictureFilesOfEachFormLoadToTheirPixels) {
    for (const char* name : kMade) {
        const int tolerance = std::string(name).find(".jpg") != std::string::npos ? 8 : 0; // each channel within 8
        auto close = [&](uint32_t a, uint32_t b) {
            for (int s : {0, 8, 16}) if (std::abs(int(a >> s & 0xFF) - int(b >> s & 0xFF)) > tolerance) return false;
            return true;
        };
        Graph_ClearScreen(0);
        ASSERT_TRUE(Graph_LoadPicture(Made(name).c_str(), 10, 20)) << name;
        ASSERT_TRUE(Graph_LoadPicture(Made(name).c_str(), 796, 597)) << name; // clipped
        const Picture p = Both();
        int wrong = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                wrong += !close(p.at(10 + x, 20 + y), Made(x, y)) + (x < 4 && y < 3 && !close(p.at(796 + x, 597 + y), Made(x, y)));
        EXPECT_EQ(wrong, 0) << name;
        EXPECT_EQ(p.count(0, 0, 799, 599, kBlack), 800 * 600 - 35 - 12) << name;
    }
}

TEST_F(GraphTest, DamagedPictureFilesDrawNothing) {
    const std::string scratch = Scratch(".pic");
    for (const char* name : kMade) {
        std::ifstream in(Made(name), std::ios::binary);
        const std::string whole{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const bool png = whole[1] == 'P';
        // Cut short (in the middle, by a byte); for PNG, a pixel data byte and the width changed under the CRCs.
        for (int damage = 0; damage < (png ? 4 : 2); ++damage) {
            std::string f = damage < 2 ? whole.substr(0, damage == 0 ? whole.size() / 2 : whole.size() - 1) : whole;
            if (damage >= 2) f[damage == 2 ? whole.find("IDAT") + 6 : 19] ^= 0x01;
            std::ofstream(scratch, std::ios::binary | std::ios::trunc) << f;
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
    for (const std::string signature : {"\x89PNG", "BM"}) {
        const std::string file = Scratch(signature == "BM" ? ".bmp" : ".PNG");
        ASSERT_TRUE(Graph_SavePicture(file.c_str()));
        std::string start(signature.size(), '\0');
        std::ifstream(file, std::ios::binary).read(start.data(), static_cast<long>(start.size()));
        EXPECT_EQ(start, signature);
        for (bool box : {false, true}) {
            Graph_ClearScreen(0);
            ASSERT_TRUE(box ? Graph_LoadPictureBox(file.c_str(), 799, 599, 0, 0)
                            : Graph_LoadPicture(file.c_str(), 0, 0));
            EXPECT_TRUE(Both().px == drawn.px) << file << " box " << box;
        }
        DeleteFileA(file.c_str());
    }
}

} // namespace
