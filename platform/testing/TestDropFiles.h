#pragma once
// Test helper: CF_HDROP blocks as a file manager puts them on the clipboard.

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// A movable block: the head, then each name and its NUL, then the closing NUL, in UTF-16.
inline HGLOBAL MakeTestDropFiles(const std::vector<std::u16string>& names) {
    std::u16string list;
    for (const std::u16string& name : names) {
        list += name;
        list += u'\0';
    }
    list += u'\0';
    DROPFILES head = {};
    head.pFiles = sizeof head;
    head.fWide = TRUE;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof head + list.size() * 2);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    std::memcpy(bytes, &head, sizeof head);
    std::memcpy(bytes + sizeof head, list.data(), list.size() * 2);
    GlobalUnlock(block);
    return block;
}

// A block of the given bytes as they are, for damaged lists.
inline HGLOBAL MakeTestBlock(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}
