#pragma once

#include "phone/service_context.h"
#include "platform/http_exchange.h"

// GET /api/diary: the unit, the latest entry, the trend, the weekly rate,
// the goal and the last 28 days, as JSON.
HttpResponse DiaryJson(const ServiceContext& context);
// POST /api/entries {"date":"YYYY-MM-DD","weight":65.4}: records the day
// (an automation cannot answer the page's 20% question, so it is not
// asked) and answers the stored entry.
HttpResponse PostEntry(const ServiceContext& context, const HttpRequest& request);
