#include "phone/page_routes.h"

#include "dialogs/weight_check.h"
#include "phone/day_entry.h"
#include "phone/diary_access.h"
#include "phone/form_fields.h"
#include "phone/http_answers.h"
#include "phone/phone_page.h"
#include "phone/request_checks.h"
#include "platform/format.h"
#include "view/draw_graph.h"

#include <nlohmann/json.hpp>

namespace {

// The entry dialog's text of a weight.
std::string WeightText(double weight)
{
    return FormatString("%.15g", weight);
}

// The dialog's presets: today and the latest weight.
EntryForm PresetForm(const ServiceContext& context, const CTarelogDoc& doc)
{
    const CalendarDate today = context.today;
    return {DateText(today.Year(), today.Month(), today.Day()),
        doc.GetRecordCount() > 0 ? WeightText(doc.GetLastWeight()) : std::string()};
}

struct Outcome {
    int status = 200;
    EntryForm form = {};
    std::string notice = {};
    std::string error = {};
    std::string question = {};
};

HttpResponse Answer(const DiaryView& view, const Outcome& outcome, bool json)
{
    PageContent content;
    content.figures = &view.figures;
    content.graphSvg = view.graphSvg;
    content.form = outcome.form;
    content.notice = outcome.notice;
    content.error = outcome.error;
    content.question = outcome.question;
    if (json) {
        nlohmann::json answer{{"main", PageMain(content)}};
        if (!outcome.question.empty())
            answer["question"] = outcome.question;
        return JsonAnswer(outcome.status, answer.dump());
    }
    const std::string nonce = NewNonce();
    return HtmlAnswer(outcome.status, WholePage(PageMain(content), {.nonce = nonce, .script = true}), nonce);
}

HttpResponse Unreadable(const DiaryFileError& error, bool json)
{
    if (json)
        return JsonError(503, error.EnglishMessage());
    const std::string nonce = NewNonce();
    return HtmlAnswer(503,
        WholePage("<h1>体重日記</h1>\n<p class=\"error\" role=\"alert\">" + HtmlEscape(error.JapaneseMessage())
                + "</p>\n",
            {.nonce = nonce}),
        nonce);
}

// The +0.1 and −0.1 buttons without a script: the form comes back with
// the weight moved, as the dialog's buttons move it, and nothing recorded.
Outcome Step(const FormFields& form, const EntryForm& typed)
{
    Outcome outcome{.status = 200, .form = typed};
    const std::string step = form.Get("step");
    double weight = 0.0;
    const EntryProblem problem = ReadEntryWeight(typed.weight, weight);
    if (step != "0.1" && step != "-0.1") {
        outcome.status = 400;
        outcome.error = "増減の指定が正しくありません。";
    } else if (problem != EntryProblem::None && problem != EntryProblem::WeightNotPositive) {
        outcome.status = 400;
        outcome.error = JapaneseProblem(problem);
    } else {
        outcome.form.weight = WeightText(weight + (step == "0.1" ? 0.1 : -0.1));
    }
    return outcome;
}

} // namespace

HttpResponse ShowPage(const ServiceContext& context)
{
    const auto view = context.View();
    if (!view)
        return Unreadable(view.error(), false);
    return Answer(**view, Outcome{.form = PresetForm(context, *(*view)->doc)}, false);
}

HttpResponse PostPage(const ServiceContext& context, const HttpRequest& request)
{
    const bool json = WantsJson(request);
    const auto view = context.View();
    if (!view)
        return Unreadable(view.error(), json);
    const DiaryView& shown = **view;
    const std::optional<FormFields> form = FormFields::Parse(request.body);
    if (!form)
        return Answer(shown,
            Outcome{.status = 400, .form = PresetForm(context, *shown.doc), .error = "送信された内容を読めません。"},
            json);
    const EntryForm typed{form->Get("date"), form->Get("weight")};
    if (form->Has("step"))
        return Answer(shown, Step(*form, typed), json);

    Outcome outcome{.status = 400, .form = typed};
    DayWeight entry;
    EntryProblem problem = ReadEntryDate(typed.date, entry);
    if (problem == EntryProblem::None)
        problem = ReadEntryWeight(typed.weight, entry.weight);
    if (problem != EntryProblem::None) {
        outcome.error = JapaneseProblem(problem);
        return Answer(shown, outcome, json);
    }
    const std::optional<double> latest = LatestWeightBesides(*shown.doc);
    if (form->Get("confirm") != "1" && NeedsWeightConfirmation(entry.weight, latest)) {
        outcome.status = 200;
        outcome.question = WeightConfirmationText(entry.weight, *latest);
        return Answer(shown, outcome, json);
    }
    const auto written = context.Record(entry);
    if (!written) {
        // The typed values stay in the form, to be sent again.
        outcome.status = 503;
        outcome.error = written.error().japanese;
        return Answer(shown, outcome, json);
    }
    const auto after = context.View();
    if (!after)
        return Unreadable(after.error(), json);
    return Answer(**after,
        Outcome{.status = 200,
            .form = PresetForm(context, *(*after)->doc),
            .notice = "記録しました（" + FormatString("%04d/%02d/%02d ", entry.year, entry.month, entry.day)
                + WeightText(entry.weight) + (*after)->figures.unit + "）。"},
        json);
}
