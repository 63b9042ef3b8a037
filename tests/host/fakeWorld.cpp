#include "fakeWorld.h"

#include <cstring>
#include <sstream>
#include <stdexcept>

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "host/runLoop.h"
#include "stdoutCapture.h"
#include "window/window.h"

namespace fake {

World& world()
{
    static World w;
    return w;
}

Run runProgram(const std::function<void(World&)>& script)
{
    world() = World{};
    windowInfo = {nullptr, nullptr, nullptr, nullptr, 0, "ZEMA"};
    limitNoticed = 0;
    if (script)
        script(world());

    Run run;
    {
        StdoutCapture capture;
        world().capture = &capture;
        run.exitCode = rezuroMain();
        run.output = capture.text();
    }
    world().capture = nullptr;
    return run;
}

std::vector<std::string> World::callsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const Event& e : events)
        if (e.call.rfind(prefix, 0) == 0)
            found.push_back(e.call);
    return found;
}

template <typename... Parts>
static void record(const Parts&... parts)
{
    std::ostringstream line;
    (line << ... << parts);
    World& w = world();
    w.events.push_back({line.str(), w.capture ? w.capture->written() : 0});
}

static std::string name(const void* handle)
{
    if (!handle)
        return "null";
    if (handle == instance)
        return "instance";
    if (handle == dc)
        return "dc";
    if (handle == &windowInfo)
        return "windowInfo";
    std::ostringstream out;
    out << handle;
    return out.str();
}

} // namespace fake

using fake::name;
using fake::record;
using fake::World;
using fake::world;

// --- the window and the GPU ---------------------------------------------------

WindowInfo windowInfo = {nullptr, nullptr, nullptr, nullptr, 0, "ZEMA"};

int initWindow(WindowInfo* info)
{
    record("initWindow(", name(info), ", fullscreen=", info->fullscreen, ", ", name(info->hInstance), ")");
    if (world().initWindowResult)
        info->hDC = fake::dc;
    return world().initWindowResult;
}

void closeWindow(WindowInfo* info) { record("closeWindow(", name(info), ")"); }

RenderState renderState;
void initResources() { record("initResources"); }
void initResourcesSized(GLsizei, GLsizei) {}
void accumulatePass() {}
void presentPass() {}

void renderFrame(float elapsedSeconds)
{
    World& w = world();
    if (++w.framesRendered > w.frameLimit)
        throw std::runtime_error("the loop did not stop");
    w.renderArgs.push_back(elapsedSeconds);
    w.tick += w.msPerFrame;
    record("renderFrame");
}

// --- Win32 ------------------------------------------------------------------------

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    record("GetModuleHandleA(", moduleName ? moduleName : "null", ")");
    return fake::instance;
}

BOOL WINAPI EnumDisplayDevicesA(LPCSTR device, DWORD index, DISPLAY_DEVICEA* displayDevice, DWORD flags)
{
    // Only cb may be set on the way in.
    DISPLAY_DEVICEA clean = {};
    clean.cb = displayDevice->cb;
    const bool onlySize = std::memcmp(&clean, displayDevice, sizeof clean) == 0;
    record("EnumDisplayDevicesA(", device ? device : "null", ", ", index, ", cb=", displayDevice->cb,
           onlySize ? "" : " with other fields set", ", ", flags, ")");
    if (!world().adapter)
        return FALSE;
    std::strncpy(displayDevice->DeviceString, world().adapter->c_str(), sizeof displayDevice->DeviceString - 1);
    std::strcpy(displayDevice->DeviceName, "\\\\.\\DISPLAY1");
    return TRUE;
}

BOOL WINAPI PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    World& w = world();
    if (window || filterMin || filterMax || removeFlags != PM_REMOVE)
        record("PeekMessageA with unexpected arguments");
    auto& queue = w.messagesBeforeFrame[w.framesRendered + 1];
    if (queue.empty())
        return FALSE;
    *msg = MSG{};
    msg->message = queue.front();
    queue.erase(queue.begin());
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg)
{
    record("TranslateMessage(", std::hex, msg->message, ")");
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg)
{
    record("DispatchMessageA(", std::hex, msg->message, ")");
    return 0;
}

DWORD WINAPI GetTickCount() { return world().tick; }

BOOL WINAPI SwapBuffers(HDC dc)
{
    record("SwapBuffers(", name(dc), ")");
    world().tick += world().msPerSwap;
    return TRUE;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    record("MessageBoxA(", name(owner), ", ", text, ", ", caption, ", ", std::hex, type, ")");
    return IDOK;
}
