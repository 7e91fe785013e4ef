#pragma once

#include "app/CodePageCheck.h"

#include <functional>
#include <memory>

// The layer of the text-setting check where the system has no code pages.

// Its two checks, replaceable for the tests.
struct TextSupportProbes {
    std::function<bool()> Converter;
    std::function<bool()> PersianFont;
};

std::unique_ptr<CodePagePlatform> MakeTextSupportPlatform(CodePageCallbacks callbacks,
                                                          TextSupportProbes probes);
