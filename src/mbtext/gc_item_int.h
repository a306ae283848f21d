// Internals of the locale item calls: which items are separators and texts.
#pragma once

// Separator index (GC_SEP_...) of a separator item, else -1.
int gcItemSepIndex(int item);

// Locale text index (0 to GC_TXT_COUNT-1) of a text item, else -1; entry (if
// given) receives the item's entry in the territory object.
int gcItemTextIndex(int item, int* entry);

// The distinct first characters of the entries of a language's special
// case table (44 or 45), at most max of them; -1 when there are more. A
// character that is none of them has no entry (GCLangGetSpecial gives 0).
int gcLangSpecialFirsts(const GCObj* language, int table, GCUChar* firsts, int max);
