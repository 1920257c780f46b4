#include "vyplatform/VyScreenSettings.h"

#include "vyio/VyConfigFile.h"
#include "vythread/VyTrace.h"

namespace
{
constexpr const char* SCREEN = "Screen";

// A client side from the file: 0 and VY_DEFAULT_SIZE mean the system's default; other values outside
// 1..VY_MAX_CLIENT_SIDE are replaced by it with a trace line.
int ReadSide(VyConfigFile& config, const char* key, int defaultSide)
{
    const int value = config.GetInt(SCREEN, key, defaultSide);
    if (value == 0 || value == VY_DEFAULT_SIZE)
        return defaultSide;
    if (value < 0 || value > VyScreenSettings::VY_MAX_CLIENT_SIDE)
    {
        VyTrace::Write(VyString::Format("vyw.cfg : [Screen] %s=%d is no usable window size; %d is used instead\n",
                                        key, value, defaultSide));
        return defaultSide;
    }
    return value;
}
} // namespace

VyScreenSettings VyScreenSettings::Read(VyConfigFile& config)
{
    VyScreenSettings settings;
    settings.bits = config.GetInt(SCREEN, "Bits", 16);
    if (!IsColorDepth(settings.bits))
    {
        VyTrace::Write(VyString::Format("vyw.cfg : [Screen] Bits=%d is no colour depth; 16 is used instead\n",
                                        settings.bits));
        settings.bits = 16;
    }
    settings.resX = ReadSide(config, "ResX", VY_SYSTEM_DEFAULT_WIDTH);
    settings.resY = ReadSide(config, "ResY", VY_SYSTEM_DEFAULT_HEIGHT);
    settings.context = ContextFromName(config.GetString(SCREEN, "Context", ""));
    if (settings.context == VY_CONTEXT_NONE)
        VyTrace::Write("Unknown specified rendering context, using Default.  Valid options are: OpenGL, Native "
                       "and DirectDraw.\n");
    settings.bFullScreen = config.GetBool(SCREEN, "FullScreen", false);
    settings.scale = ReadScale(config, settings.resX, settings.resY);
    settings.bShowFps = config.GetBool("Preferences", "FPS", false);
    settings.cursorDirectory = config.GetString("Directories", "Cursors", "Cursors").Trimmed();
    if (settings.cursorDirectory.empty())
    {
        VyTrace::Write("vyw.cfg : [Directories] Cursors is empty; \"Cursors\" is used instead\n");
        settings.cursorDirectory = "Cursors";
    }
    return settings;
}

int VyScreenSettings::ReadScale(VyConfigFile& config, int resX, int resY)
{
    const int scale = config.GetInt(SCREEN, "Scale", VY_AUTOMATIC_SCALE);
    const int largerSide = resX > resY ? resX : resY;
    if (scale >= 0 && scale <= VY_MAX_SCALE && static_cast<long long>(largerSide) * scale <= VY_MAX_CLIENT_SIDE)
        return scale;
    VyTrace::Write(VyString::Format("vyw.cfg : [Screen] Scale=%d is no usable factor for %d x %d; 0 (automatic) "
                                    "is used instead\n",
                                    scale, resX, resY));
    return VY_AUTOMATIC_SCALE;
}

void VyScreenSettings::WriteContext(VyConfigFile& config, int context)
{
    config.SetString(SCREEN, "Context", ContextName(context));
    config.Save();
}

void VyScreenSettings::WriteWindowMode(VyConfigFile& config, VyWindowMode mode)
{
    config.SetString(SCREEN, "FullScreen", mode == VyWindowMode::FULL_SCREEN ? "TRUE" : "FALSE");
    config.Save();
}

void VyScreenSettings::WriteScale(VyConfigFile& config, int scale)
{
    config.SetString(SCREEN, "Scale", VyString::Format("%d", scale));
    config.Save();
}

const char* VyScreenSettings::ContextName(int context)
{
    switch (context)
    {
    case VY_CONTEXT_OPENGL:
        return "OpenGL";
    case VY_CONTEXT_NATIVE:
        return "Native";
    case VY_CONTEXT_DIRECTDRAW:
        return "DirectDraw";
    default:
        return "";
    }
}

int VyScreenSettings::ContextFromName(const VyString& name)
{
    for (int context : {VY_CONTEXT_OPENGL, VY_CONTEXT_NATIVE, VY_CONTEXT_DIRECTDRAW})
        if (name == ContextName(context))
            return context;
    return VY_CONTEXT_NONE;
}

bool VyScreenSettings::IsColorDepth(int bits)
{
    return bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}
