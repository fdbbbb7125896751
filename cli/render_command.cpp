// tarelog-cli render FILE -o OUT: the diary's graph, drawn by the same code
// as the window, as a PNG image, an SVG drawing or the list of drawing calls.
#include "cli/commands.h"
#include "cli/goal_option.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"
#include "platform/qt/offscreen_application.h"

#include "diary/diary_file.h"
#include "platform/memory_profile_store.h"
#include "platform/qt/qsettings_profile_store.h"
#include "view/draw_graph.h"
#include "view/qt/graph_image.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace {

enum RenderOption { kOutput, kSize, kAverages, kStyle, kColor, kNoProfile, kRange, kFill, kTrend, kGoal };

// Far beyond any window, and a PNG of this size still fits in memory.
constexpr int kMaxExtent = 8192;

struct RenderOptions {
    std::string input;
    std::string output;
    GraphImageKind kind = GraphImageKind::Png;
    int width = 240;
    int height = 268;
    bool narrow = false, normal = false, wide = false;
    std::optional<int> style;
    std::vector<std::pair<int, Color>> colors;
    bool noProfile = false;
    int rangeDays = 0;
    bool fill = false, trend = false;
    std::optional<double> goal;
};

// The user's profile, with the date-label style of --style in front of it.
// Rendering never writes to the profile.
class RenderProfile : public ProfileStore {
public:
    RenderProfile(const ProfileStore& base, std::optional<int> style)
        : m_base(base)
        , m_style(style)
    {
    }
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) const override
    {
        if (m_style && section == kShowSection && entry == kDateStyleEntry)
            return *m_style;
        return m_base.GetProfileInt(section, entry, defaultValue);
    }
    void WriteProfileInt(const std::string&, const std::string&, int) override {}

private:
    const ProfileStore& m_base;
    std::optional<int> m_style;
};

template <typename T> bool ParseWhole(std::string_view text, T& value, int base = 10)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    const auto x = text.find('x');
    return x != std::string::npos && ParseWhole(std::string_view(text).substr(0, x), width)
        && ParseWhole(std::string_view(text).substr(x + 1), height) && width >= 0 && height >= 0 && width <= kMaxExtent
        && height <= kMaxExtent;
}

bool ParseAverages(const std::string& text, RenderOptions& options)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string word = text.substr(start, comma - start);
        if (word == "narrow")
            options.narrow = true;
        else if (word == "normal")
            options.normal = true;
        else if (word == "wide")
            options.wide = true;
        else if (!(word.empty() && text.empty()))
            return false;
        start = comma + 1;
    }
    return true;
}

bool ParseColor(const std::string& text, std::pair<int, Color>& color)
{
    const auto equals = text.find('=');
    if (equals == std::string::npos || !ParseWhole(std::string_view(text).substr(0, equals), color.first)
        || color.first < 0 || color.first >= kColorSlotCount)
        return false;
    std::string_view value = std::string_view(text).substr(equals + 1);
    std::uint32_t parsed = 0;
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        if (!ParseWhole(value.substr(2), parsed, 16))
            return false;
    } else if (!ParseWhole(value, parsed)) {
        return false;
    }
    color.second = parsed;
    return true;
}

// The failure is an English complaint.
Status<std::string> ApplyOption(const UsedOption& used, RenderOptions& options)
{
    const std::string& v = used.value;
    int style = 0;
    std::pair<int, Color> color;
    switch (used.id) {
    case kOutput: options.output = v; break;
    case kSize:
        if (!ParseSize(v, options.width, options.height))
            return Failed{"--size wants WxH with each side 0 to " + std::to_string(kMaxExtent) + ", not '" + v + "'"};
        break;
    case kAverages:
        if (!ParseAverages(v, options))
            return Failed{"--avg wants a comma-separated list of narrow, normal and wide, not '" + v + "'"};
        break;
    case kStyle:
        if (!(ParseWhole(std::string_view(v), style) && style >= 1 && style <= 3))
            return Failed{"--style wants 1, 2 or 3, not '" + v + "'"};
        options.style = style;
        break;
    case kColor:
        if (!ParseColor(v, color))
            return Failed{"--color wants SLOT=0xBBGGRR with SLOT 0 to 9, not '" + v + "'"};
        options.colors.push_back(color);
        break;
    case kNoProfile: options.noProfile = true; break;
    case kRange:
        if (!(ParseWhole(std::string_view(v), options.rangeDays) && options.rangeDays >= 1))
            return Failed{"--range wants a number of days of at least 1, not '" + v + "'"};
        break;
    case kFill: options.fill = true; break;
    case kTrend: options.trend = true; break;
    case kGoal: {
        double goal = 0.0;
        if (!ParseGoalWeight(v, goal))
            return Failed{"--goal wants a weight above 0, not '" + v + "'"};
        options.goal = goal;
        break;
    }
    }
    return {};
}

// The failure is an English complaint.
Status<std::string> ParseArguments(const ParsedArguments& parsed, RenderOptions& options)
{
    for (const UsedOption& used : parsed.options)
        if (Status<std::string> applied = ApplyOption(used, options); !applied)
            return applied;
    if (parsed.operands.size() != 1)
        return Failed{std::string("give exactly one diary FILE")};
    options.input = parsed.operands[0];
    if (options.output.empty())
        return Failed{std::string("give the output file with -o OUT")};
    const std::optional<GraphImageKind> kind = GraphImageKindOf(options.output);
    if (!kind)
        return Failed{"OUT must end in .png, .svg or .ops, not '" + options.output + "'"};
    options.kind = *kind;
    if (options.kind == GraphImageKind::Png && (options.width == 0 || options.height == 0))
        return Failed{std::string("a PNG needs a size of at least 1x1")};
    return {};
}

} // namespace

const VerbTable& RenderTable()
{
    static const VerbTable table{
        .synopsis = "FILE -o OUT [OPTIONS]",
        .description = "Draws the graph of the diary FILE exactly as the window does. OUT ending in\n"
                       ".png is painted like the window, .svg is a vector drawing, .ops lists the\n"
                       "drawing calls, one per line. No display is needed.\n",
        .options =
            {
                {kOutput, nullptr, 'o', "OUT", "the file to write (.png, .svg or .ops)", {.files = "png|svg|ops"}},
                {kSize, "size", 0, "WxH", "client area in pixels (default 240x268)"},
                {kAverages, "avg", 0, "LIST", "moving averages to draw, any of narrow,normal,wide",
                    {.words = "narrow normal wide", .list = true}},
                {kStyle, "style", 0, "1|2|3", "date labels: 1 m/d, 2 yy/mm/dd, 3 yymmdd", {.words = "1 2 3"}},
                {kColor, "color", 0, "SLOT=0xBBGGRR", "the colour of slot 0..9; may be repeated"},
                {kNoProfile, "no-profile", 0, nullptr, "ignore your profile: every colour 0, style 1"},
                {kRange, "range", 0, "DAYS",
                    "only the records of the last DAYS days up to the\n"
                    "latest one, drawn as a diary of only those would be\n"
                    "(the window's ranges: 28, 91, 182, 365)",
                    {.words = "28 91 182 365"}},
                {kFill, "fill", 0, nullptr, "the plot over the whole size, not the square"},
                {kTrend, "trend", 0, nullptr, "the trend line (as stats computes it), colour slot 7"},
                {kGoal, "goal", 0, "WEIGHT",
                    "a line at the goal weight, colour slot 8; the\nscale stretches to take it in"},
            },
        .epilogue = "Without --no-profile, colours and style come from your profile, as in the\n"
                    "window; --style and --color override it for this drawing only.\n",
        .operands = {{.files = "tlg"}},
    };
    return table;
}

int RunRender(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(RenderTable(), "render", args, parsed))
        return *stop;
    RenderOptions options;
    if (const Status<std::string> fit = ParseArguments(parsed, options); !fit)
        return UsageError("render", fit.error());
    // Before the diary is loaded, so that fontconfig starts beside the load.
    OffscreenApplication application("tarelog-cli");
    CTarelogDoc doc;
    if (!LoadDiaryReporting(options.input, doc))
        return kExitFailure;
    MentionConflictCopies(options.input);
    application.Start();
    MemoryProfileStore emptyProfile;
    std::unique_ptr<QSettingsProfileStore> userProfile;
    if (!options.noProfile)
        userProfile = std::make_unique<QSettingsProfileStore>();
    const ProfileStore& base = userProfile ? static_cast<const ProfileStore&>(*userProfile) : emptyProfile;
    const RenderProfile profile(base, options.style);

    GraphViewState state;
    state.LoadColors(profile);
    for (const auto& [slot, color] : options.colors)
        state.m_colorSlots[slot] = color;
    state.m_avgNarrow = options.narrow;
    state.m_avgNormal = options.normal;
    state.m_avgWide = options.wide;
    state.m_rangeDays = options.rangeDays;
    state.m_fill = options.fill;
    state.m_trend = options.trend;
    state.m_goal = options.goal;

    if (const Status<GraphImageError> rendered = WriteGraphImage(options.output, options.kind, options.width,
            options.height, doc, state, profile);
        !rendered) {
        std::fprintf(stderr, "tarelog-cli: cannot write %s: %s\n", options.output.c_str(),
            rendered.error().english.c_str());
        return kExitFailure;
    }
    return kExitOk;
}
