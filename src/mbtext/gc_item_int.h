// Internals of the locale item calls: which items are separators and texts.
#pragma once

// Separator index (GC_SEP_...) of a separator item, else -1.
int gcItemSepIndex(int item);

// Locale text index (0 to GC_TXT_COUNT-1) of a text item, else -1; entry (if
// given) receives the item's entry in the territory object.
int gcItemTextIndex(int item, int* entry);
