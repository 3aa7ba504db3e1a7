#pragma once

#include <string_view>

namespace zelvane {

// The page's style sheet: cards in as many columns of at least 18em as fit,
// one at a phone's width; pictures at their own size or, in a narrower
// card, scaled down to it, keeping their shape; long paths broken anywhere
// rather than widening the page.
inline constexpr std::string_view kGalleryStyle = R"(*, *::before, *::after { box-sizing: border-box; }
body { margin: 0; padding: 1rem; font: 15px/1.4 system-ui, sans-serif; background: #eceae6; color: #222; }
h1 { font-size: 1.5rem; margin: 0 0 0.25rem; }
.summary { margin: 0 0 1rem; color: #555; }
.cards { display: grid; grid-template-columns: repeat(auto-fill, minmax(min(100%, 18em), 1fr)); gap: 1rem;
  align-items: start; }
.card { min-width: 0; padding: 0.75rem; background: #fff; border: 1px solid #ccc; border-radius: 6px;
  overflow-wrap: anywhere; }
.card img { display: block; max-width: 100%; height: auto; margin: 0 auto; background: #d8d6d2; }
.no-picture { padding: 2rem 0; text-align: center; background: #d8d6d2; color: #666; }
.card h2 { font-size: 1rem; margin: 0.5rem 0 0.25rem; }
.card p { margin: 0.25rem 0; }
.card ul { margin: 0.25rem 0; padding-left: 1.25rem; }
.failed { background: #fff3f2; border-color: #d88; }
.error { color: #a21; }
.warnings { color: #8a5a00; }
)";

}  // namespace zelvane
