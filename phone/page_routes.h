#pragma once

#include "phone/service_context.h"
#include "platform/http_exchange.h"

// GET / and POST / for a paired phone: the page, and the form's entry.
// POST / with a step (the +0.1 and −0.1 buttons without a script) answers
// the page with the weight moved; otherwise it records the day, first
// asking about a weight 20% off the latest. A post that asks for JSON (the
// page's script) gets {"main": the page's main part} or {"question": ...}.
HttpResponse ShowPage(const ServiceContext& context);
HttpResponse PostPage(const ServiceContext& context, const HttpRequest& request);
