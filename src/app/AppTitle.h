// The title routine (Main's SetAppTitle): the application title that message boxes
// without a title of their own show, made from the product's display name.
#pragma once
#include <cstddef>
#include <string>

#include "app/Globals.h"

namespace Main {

inline constexpr std::size_t kMaxTitleLength = 40;

// The name cut back by whole words, from its end, until it has at most 40 characters.
// A name that still has no blank left to cut at while too long is an invalid argument:
// throws rt::Failure.
std::wstring ShortenedTitle(std::wstring name);

// Sets the application title from the name; on failure the title keeps its old value.
void SetAppTitle(Globals& globals, const std::wstring& displayName);

}  // namespace Main
