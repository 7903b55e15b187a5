#include "files/olestream.h"

#include <QDir>

#include <objbase.h>
#include <windows.h>

namespace {

// A workbook stream beyond this is no goods list but a damaged size field.
constexpr ULONGLONG kMaxStreamBytes = 256 * 1024 * 1024;

template <typename T>
struct Released {
    T* p = nullptr;
    ~Released()
    {
        if (p)
            p->Release();
    }
};

// COM for this thread for the read's duration, when the thread did not have it already.
class ComScope {
public:
    ComScope() : m_initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (m_initialised)
            CoUninitialize();
    }

private:
    bool m_initialised;
};

}  // namespace

std::optional<QByteArray> ReadWorkbookStream(const QString& fileName, QString& why)
{
    ComScope com;
    const QString native = QDir::toNativeSeparators(fileName);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(native.utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        why = QStringLiteral("файл не открывается");
        return std::nullopt;
    }
    Released<IStorage> storage;
    const HRESULT opened = StgOpenStorageEx(reinterpret_cast<const wchar_t*>(native.utf16()),
                                            STGM_READ | STGM_SHARE_DENY_WRITE, STGFMT_STORAGE, 0, nullptr, nullptr,
                                            IID_IStorage, reinterpret_cast<void**>(&storage.p));
    if (FAILED(opened) || !storage.p) {
        const bool locked = opened == STG_E_ACCESSDENIED || opened == STG_E_SHAREVIOLATION || opened == STG_E_LOCKVIOLATION;
        why = locked ? QStringLiteral("файл не открывается") : QStringLiteral("файл не является составным документом");
        return std::nullopt;
    }
    Released<IStream> stream;
    for (const wchar_t* name : {L"Workbook", L"Book"}) {
        if (SUCCEEDED(storage.p->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream.p)))
            break;
        stream.p = nullptr;
    }
    if (!stream.p) {
        why = QStringLiteral("в документе нет рабочей книги");
        return std::nullopt;
    }
    STATSTG stat{};
    if (FAILED(stream.p->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > kMaxStreamBytes) {
        why = QStringLiteral("размер книги повреждён");
        return std::nullopt;
    }
    QByteArray bytes(static_cast<qsizetype>(stat.cbSize.QuadPart), Qt::Uninitialized);
    ULONG got = 0;
    if (!bytes.isEmpty()
        && (FAILED(stream.p->Read(bytes.data(), ULONG(bytes.size()), &got)) || got != ULONG(bytes.size()))) {
        why = QStringLiteral("книга повреждена");
        return std::nullopt;
    }
    return bytes;
}
