#include "files/olestream.h"

#include <QFile>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <memory>

namespace {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GsfPtr = std::unique_ptr<T, GObjectUnref>;

// A workbook stream beyond this is no goods list but a damaged size field.
constexpr gsf_off_t kMaxStreamBytes = 256 * 1024 * 1024;

// libgsf warns on stderr about every flaw of a damaged document; the reader's answer already says it.
void QuietLibgsf()
{
    static const bool quiet = [] {
        g_log_set_handler("libgsf:msole", GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL),
                          [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        return true;
    }();
    (void)quiet;
}

}  // namespace

std::optional<QByteArray> ReadWorkbookStream(const QString& fileName, QString& why)
{
    QuietLibgsf();
    GError* error = nullptr;
    const QByteArray path = QFile::encodeName(fileName);
    GsfPtr<GsfInput> file(gsf_input_stdio_new(path.constData(), &error));
    if (!file) {
        g_clear_error(&error);
        why = QStringLiteral("файл не открывается");
        return std::nullopt;
    }
    GsfPtr<GsfInfile> compound(gsf_infile_msole_new(file.get(), &error));
    if (!compound) {
        g_clear_error(&error);
        why = QStringLiteral("файл не является составным документом");
        return std::nullopt;
    }
    GsfPtr<GsfInput> stream(gsf_infile_child_by_name(compound.get(), "Workbook"));
    if (!stream)
        stream.reset(gsf_infile_child_by_name(compound.get(), "Book"));
    if (!stream) {
        why = QStringLiteral("в документе нет рабочей книги");
        return std::nullopt;
    }
    const gsf_off_t size = gsf_input_size(stream.get());
    if (size < 0 || size > kMaxStreamBytes) {
        why = QStringLiteral("размер книги повреждён");
        return std::nullopt;
    }
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (size > 0 && !gsf_input_read(stream.get(), static_cast<size_t>(size), reinterpret_cast<guint8*>(bytes.data()))) {
        why = QStringLiteral("книга повреждена");
        return std::nullopt;
    }
    return bytes;
}
