#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>

#include <cstdio>

int main(int argc, char** argv) {
    // ctest's test discovery reads the test list line by line; a text-mode stdout would end
    // every line in a carriage return that then sticks to the suite names.
    _setmode(_fileno(stdout), _O_BINARY);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
