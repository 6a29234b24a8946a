// s_FileInfo from the data of a folder search.

#include "oslayer/files/s_FileInfo.h"

#include "oslayer/system/TimeCalls.h"

s_FileInfo::s_FileInfo(const c_StringView& name, const WIN32_FIND_DATAW& data)
    : m_Name(name), m_Attributes(data.dwFileAttributes),
      m_Created(n_OSLayer::FileTimeToLocalDateTime(FileTimeValue(data.ftCreationTime))),
      m_Accessed(n_OSLayer::FileTimeToLocalDateTime(FileTimeValue(data.ftLastAccessTime))),
      m_Modified(n_OSLayer::FileTimeToLocalDateTime(FileTimeValue(data.ftLastWriteTime))),
      m_Size(static_cast<std::int64_t>((std::uint64_t(data.nFileSizeHigh) << 32) + data.nFileSizeLow)) {}
