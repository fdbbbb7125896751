#include "phone/phone_page.h"

#include "platform/format.h"

namespace {

// Large targets (48 px), one column, the phone's own font.
constexpr std::string_view kStyle = R"(
body{margin:0;font:18px/1.4 system-ui,sans-serif;color:#222;background:#fafafa}
main{max-width:430px;margin:0 auto;padding:12px}
h1{font-size:20px;margin:4px 0 12px}
.latest{font-size:32px;font-weight:bold;margin:0}
.date,.status{color:#555;margin:0 0 8px}
.graph{width:100%;height:auto;display:block;margin:8px 0;border:1px solid #ddd}
form{display:flex;flex-direction:column;gap:8px;margin:12px 0}
label{font-weight:bold}
input,button{font-size:20px;min-height:48px;box-sizing:border-box;border-radius:8px}
input{width:100%;padding:6px 10px;border:1px solid #888}
.row{display:flex;gap:8px}
.row input{flex:1;text-align:center}
.row button{min-width:72px}
button{border:1px solid #666;background:#eee}
button.primary{order:9;background:#1a5fb4;color:#fff;border-color:#1a5fb4;font-weight:bold}
.notice{background:#e6f4ea;padding:8px;border-radius:8px}
.error{background:#fde7e9;padding:8px;border-radius:8px}
.question{background:#fff4ce;padding:8px;border-radius:8px}
)";

// With a script, the form posts without reloading and the step buttons
// change the field in place; without one, every button is a plain submit.
constexpr std::string_view kScript = R"(
(function(){
var main=document.getElementById('app');
function send(form,confirmed){
var data=new URLSearchParams(new FormData(form));
if(confirmed)data.set('confirm','1');
fetch('/',{method:'POST',body:data,headers:{'Accept':'application/json'},credentials:'same-origin'})
.then(function(r){return r.json();})
.then(function(j){
if(j.question){if(confirm(j.question))send(form,true);return;}
if(j.main)main.innerHTML=j.main;
else location.reload();})
.catch(function(){alert('送信できませんでした。接続を確かめてください。');});
}
document.addEventListener('click',function(e){
var b=e.target.closest('button[name=step]');
if(!b)return;
e.preventDefault();
var w=document.getElementById('weight');
var v=parseFloat(w.value.normalize('NFKC').replace('\u2212','-'));
if(isNaN(v))return;
w.value=String(parseFloat((v+parseFloat(b.value)).toPrecision(15)));
});
document.addEventListener('submit',function(e){
var f=e.target;
if(f.id!=='entry')return;
e.preventDefault();
send(f,f.querySelector('input[name=confirm]')!==null);
});
})();
)";

std::string RecordDate(const WeightRecord& record)
{
    return FormatString("%04d/%02d/%02d", record.year, record.month, record.day);
}

std::string Figures(const DiaryFigures& figures)
{
    if (figures.stats.entries == 0)
        return "<p class=\"date\">まだ記録がありません。</p>\n";
    const WeightRecord& last = figures.stats.last;
    return "<p class=\"latest\" id=\"latest\">" + HtmlEscape(FormatString("%.15g", last.weight) + figures.unit)
        + "</p>\n<p class=\"date\" id=\"latest-date\">" + RecordDate(last)
        + " の体重</p>\n<p class=\"status\" id=\"status\">" + HtmlEscape(figures.statusText) + "</p>\n";
}

std::string Hidden(std::string_view name, std::string_view value)
{
    return "<input type=\"hidden\" name=\"" + std::string(name) + "\" value=\"" + HtmlEscape(value) + "\">\n";
}

// The question before a weight 20% off: the values as sent, to be sent
// again with the answer, or left with "やめる".
std::string ConfirmFormHtml(const PageContent& content)
{
    const std::string unit = content.figures != nullptr ? content.figures->unit : std::string();
    return "<p>日付 " + HtmlEscape(content.form.date) + "　体重 " + HtmlEscape(content.form.weight + unit)
        + "</p>\n<form method=\"post\" action=\"/\" id=\"entry\">\n" + Hidden("date", content.form.date)
        + Hidden("weight", content.form.weight) + Hidden("confirm", "1")
        + "<button type=\"submit\" class=\"primary\" name=\"record\" value=\"1\">はい、記録する</button>\n"
          "</form>\n<p><a href=\"/\">やめる</a></p>\n";
}

std::string EntryFormHtml(const PageContent& content)
{
    if (!content.question.empty())
        return ConfirmFormHtml(content);
    const std::string unit = content.figures != nullptr ? content.figures->unit : std::string();
    std::string html = "<form method=\"post\" action=\"/\" id=\"entry\">\n";
    // The record button comes first, so that Enter in a field records
    // rather than steps; the style shows it last.
    html += "<button type=\"submit\" class=\"primary\" name=\"record\" value=\"1\">記録する</button>\n";
    html += "<label for=\"date\">日付</label>\n<input type=\"date\" id=\"date\" name=\"date\" required value=\""
        + HtmlEscape(content.form.date) + "\">\n";
    html += "<label for=\"weight\">体重（" + HtmlEscape(unit) + "）</label>\n<div class=\"row\">\n";
    html += "<button type=\"submit\" name=\"step\" value=\"-0.1\" aria-label=\"0.1 減らす\">−0.1</button>\n";
    html +=
        "<input type=\"text\" inputmode=\"decimal\" autocomplete=\"off\" id=\"weight\" name=\"weight\" required value=\""
        + HtmlEscape(content.form.weight) + "\">\n";
    html += "<button type=\"submit\" name=\"step\" value=\"0.1\" aria-label=\"0.1 増やす\">+0.1</button>\n</div>\n";
    html += "</form>\n";
    return html;
}

} // namespace

std::string HtmlEscape(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string PageMain(const PageContent& content)
{
    std::string html = "<h1>体重日記</h1>\n";
    if (!content.notice.empty())
        html += "<p class=\"notice\" role=\"status\">" + HtmlEscape(content.notice) + "</p>\n";
    if (!content.error.empty())
        html += "<p class=\"error\" role=\"alert\">" + HtmlEscape(content.error) + "</p>\n";
    if (!content.question.empty())
        html += "<p class=\"question\" role=\"alert\">" + HtmlEscape(content.question) + "</p>\n";
    if (content.figures != nullptr)
        html += Figures(*content.figures);
    html += EntryFormHtml(content);
    html += content.graphSvg;
    return html;
}

std::string PairingNeededMain(std::string_view problem)
{
    std::string html = "<h1>体重日記</h1>\n";
    if (!problem.empty())
        html += "<p class=\"error\" role=\"alert\">" + HtmlEscape(problem) + "</p>\n";
    html +=
        "<p>このページを見るには、このスマートフォンを登録してください。</p>\n"
        "<p>日記のあるコンピューターで <code>tarelog-cli pair 日記ファイル</code> を実行し、"
        "表示されたリンク（または QR コード）をこのスマートフォンで開きます。リンクは 10 分間、1 回だけ使えます。</p>\n";
    return html;
}

std::string PairedMain(std::string_view deviceName)
{
    return "<h1>体重日記</h1>\n<p class=\"notice\" role=\"status\">このスマートフォンを「" + HtmlEscape(deviceName)
        + "」として登録しました。</p>\n<p><a href=\"/\">日記を開く</a></p>\n";
}

std::string WholePage(std::string_view mainHtml, const PageFrame& frame)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<meta name=\"referrer\" content=\"same-origin\">\n";
    if (frame.refreshToRoot)
        html += "<meta http-equiv=\"refresh\" content=\"0; url=/\">\n";
    html += "<title>体重日記</title>\n<style nonce=\"" + std::string(frame.nonce) + "\">" + std::string(kStyle)
        + "</style>\n</head>\n<body>\n<main id=\"app\">\n" + std::string(mainHtml) + "</main>\n";
    if (frame.script)
        html += "<script nonce=\"" + std::string(frame.nonce) + "\">" + std::string(kScript) + "</script>\n";
    html += "</body>\n</html>\n";
    return html;
}
