#pragma once
// XML entities: "&amp;" for '&', "&lt;" for '<', "&gt;" for '>', "&quot;" for '"', "&apos;" for '''.

#include "strings/c_String.h"

// Replaces each of the five characters by its entity. False, with the text unchanged, when the
// longer text cannot be allocated.
bool XmlEncodeEntities(c_String& text);
// Replaces each entity by its character, in one pass, so "&amp;lt;" gives "&lt;".
void XmlDecodeEntities(c_String& text);
