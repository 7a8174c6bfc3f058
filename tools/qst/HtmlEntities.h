#pragma once

#include <string>
#include <string_view>

// HTML character references, as question banks on the web write their texts.
namespace HtmlEntities {

// Replaces numeric references (&#39; &#x27;) and the named ones in common use (the Latin-1
// set, &quot; &amp; &lt; &gt; &apos;, the typographic quotes and dashes, &hellip; &euro;
// &trade; and more) by their characters. Anything else, including a reference without its
// closing ';', is left as it stands.
std::string decode(std::string_view utf8);

// Writes & < > " ' as references, so that Decode gives back exactly the text.
std::string encode(std::string_view utf8);

} // namespace HtmlEntities
