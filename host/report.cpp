#include "host/report.h"

#include <windows.h>

#include <cstdio>

#include "host/config.h"

void makeReportUnbuffered()
{
    // The dots are the only sign of progress, so nothing may wait in a buffer.
    setvbuf(stdout, nullptr, _IONBF, 0);
}

static void printBanner()
{
    printf("__      __          _\n");
    printf("\\ \\    / /         | |\n");
    printf(" \\ \\  / /___   ___ | | __\n");
    printf("  \\ \\/ // _ \\ / __|| |/ /\n");
    printf("   \\  /| (_) |\\__ \\|   <\n");
    printf("    \\/  \\___/ |___/|_|\\_\\\n\n");
}

static void printAdapter()
{
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof(device);
    if (EnumDisplayDevicesA(nullptr, 0, &device, EDD_GET_DEVICE_INTERFACE_NAME))
        printf("     What's inside: %s\n", device.DeviceString);
    else
        printf("     What's inside: Unknown!\n");
}

void printReport()
{
    printBanner();
    printf("-={ rezuro basecode v 2024-06-01 }=-\n");
    printf("-={          Vosk / DoLB         }=-\n\n");
    printAdapter();
    printf(" Render resolution: %u x %u\n", (unsigned)renderWidth, (unsigned)renderHeight);
    printf("  Max precalc time: %.2f secs\n", maxPrecalcSeconds);
    printf("        Max frames: %i\n", (int)maxFrames);
    if (limitsEnforced)
        printf("            Limits: Enforced\n");
    else
        printf("            Limits: NOT enforced\n");
}
