// test_isolated_helper crash|hang|answer TEXT: stands in for a reader that dies, never ends, or
// answers TEXT on standard output.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "crash") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    if (argc >= 2 && std::strcmp(argv[1], "hang") == 0) {
        for (;;)
            Sleep(1000);
    }
    if (argc >= 3 && std::strcmp(argv[1], "answer") == 0) {
        std::fputs(argv[2], stdout);
        return 0;
    }
    return 2;
}
