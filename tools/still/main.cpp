// rezuro-still: the picture as a file, without a display.
#include "tools/still/commands.h"

#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return still::runStill(args);
}
