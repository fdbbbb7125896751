#pragma once

#include "phone/diary_figures.h"

#include <string>
#include <string_view>

// The page's HTML, in Japanese like the window, for a phone held in one
// hand. Everything is inline (style, script, the graph's SVG), so one
// answer is the whole page; the style and the script carry the answer's
// nonce, which the Content-Security-Policy names.

// What the entry form holds: as typed, so that a refused entry keeps it.
struct EntryForm {
    std::string date; // YYYY-MM-DD
    std::string weight;
};

struct PageContent {
    const DiaryFigures* figures = nullptr;
    std::string graphSvg;
    EntryForm form;
    std::string notice;   // after a record
    std::string error;    // why nothing was recorded
    std::string question; // the question before a weight 20% off; the form then asks
};

// The inside of the page's <main>: what a script puts in place after a post.
std::string PageMain(const PageContent& content);

// Only how to pair: nothing of the diary.
std::string PairingNeededMain(std::string_view problem);
// After a pairing link worked: the phone's name, and on to the diary.
std::string PairedMain(std::string_view deviceName);

// A whole document around a <main>; `refreshToRoot` sends the browser on to
// "/" at once (after pairing), `script` adds the form's script.
struct PageFrame {
    std::string_view nonce;
    bool script = false;
    bool refreshToRoot = false;
};
std::string WholePage(std::string_view mainHtml, const PageFrame& frame);

// HTML-escaped text, for element content and quoted attribute values.
std::string HtmlEscape(std::string_view text);
