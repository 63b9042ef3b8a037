#include "host/runLoop.h"

#include <windows.h>
#include <GL/gl.h>

#include <cstdio>

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "host/config.h"
#include "host/report.h"
#include "window/window.h"

unsigned char limitNoticed = 0;

// Seconds since startTick; the unsigned difference stays right across the
// tick counter's wrap after 49.7 days.
static float secondsSince(DWORD startTick)
{
    return (float)(DWORD)(GetTickCount() - startTick) / 1000.0f;
}

int rezuroMain()
{
    int quit = 0;
    windowInfo.hInstance = GetModuleHandleA(nullptr);
    windowInfo.fullscreen = 1;

    makeReportUnbuffered();
    printReport();

    if (!initWindow(&windowInfo)) {
        closeWindow(&windowInfo);
        MessageBoxA(nullptr, "Window init error! We're gonna have to abort...", "Oh dear", MB_ICONWARNING);
        return 0;
    }

    printf("\nCompiling shaders...\n");
    initResources();
    printf("\nRendering (Close this window or Esc on render window to abort)\n\n");

    int frames = 0;
    const DWORD startTick = GetTickCount();
    float elapsed = 0.0f;
    MSG msg;

    while (!quit) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                quit = 1;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }

        renderFrame(elapsed);
        elapsed = secondsSince(startTick);
        frames++;
        SwapBuffers(windowInfo.hDC);

        if (!(limitNoticed && limitsEnforced)) {
            printf(".");
            if (frames % 40 == 0) {
                const float fps = (float)frames / secondsSince(startTick);
                printf(" [%i, %.3f fps]\n", frames, fps);
            }
        }

        if ((elapsed >= (float)maxPrecalcSeconds || frames >= maxFrames) && !limitNoticed) {
            limitNoticed = 1;
            printf("\n[LIMIT HIT: %i/%i frames, %.2f/%.2f secs]\n", frames, (int)maxFrames, elapsed,
                   maxPrecalcSeconds);
            if (limitsEnforced)
                printf("\n\nDone; close window to quit\n");
        }
    }

    closeWindow(&windowInfo);
    return 0;
}
