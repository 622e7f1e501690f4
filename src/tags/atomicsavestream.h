#pragma once

#include "model/replacementfile.h"
#include "model/result.h"

#include <QByteArray>

#include <taglib/tiostream.h>

#include <vector>

#include <sys/stat.h>

// The stream a save hands to TagLib: nothing TagLib writes reaches the file until commit().
//
// Writes that keep the file's length are held in memory and written in place by commit(), so a
// tag that fits in its padding costs no more than TagLib's own save. The first change that would
// move bytes (an insertion or removal, a write past the end, a truncation) copies the file,
// changes applied, to a ReplacementFile beside it; from then on everything happens there, and
// commit() renames the new file over the original once it is whole. Every read and write is
// checked: after the first failure the stream does nothing more and commit() reports it, leaving
// the original as it was.
//
// The file is locked (an exclusive lock of the whole file, not waited for) for the life of the
// stream, so that two saves of one file, in this process or another, never interleave.
class AtomicSaveStream : public TagLib::IOStream {
public:
    ~AtomicSaveStream() override;

    // Opens the regular file at path for a save. Links are followed: the file they lead to is
    // the one saved. Fails when the file cannot be opened for writing, is no regular file or is
    // locked by another save.
    static Result<std::unique_ptr<AtomicSaveStream>> open(const QString &path);

    // The file as it was opened (after the lock was taken).
    const struct stat &originalStat() const { return m_original; }
    // Whether the path still leads to the opened file.
    bool isStillAtPath() const;

    // Writes the changes: in place, or by renaming the new file over the original. The file's
    // identity afterwards is in savedStat().
    Result<void> commit();
    const struct stat &savedStat() const { return m_saved; }

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector &data) override;
    void insert(const TagLib::ByteVector &data, unsigned long start = 0, unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override;
    bool isOpen() const override;
    void seek(long offset, Position p = Beginning) override;
    long tell() const override;
    long length() override;
    void truncate(long length) override;

private:
    struct Patch {
        long long offset;
        QByteArray bytes;
    };

    AtomicSaveStream(QByteArray path, QByteArray realPath, int descriptor, const struct stat &original);

    int currentDescriptor() const;
    bool readAt(long long offset, char *into, long long size);
    void applyPatches(long long offset, char *into, long long size) const;
    bool writeAt(long long offset, const char *from, long long size);
    // Replaces count bytes at start with data: in the new file when there is one, else by
    // making it with the change.
    void splice(long long start, long long count, const TagLib::ByteVector &data);
    bool makeReplacement(long long start, long long count, const TagLib::ByteVector &data);
    bool moveTail(long long from, long long to);
    void fail(int error, const char *what);

    const QByteArray m_path;
    const QByteArray m_realPath;
    const int m_descriptor;
    const struct stat m_original;
    ReplacementFile m_replacement;
    std::vector<Patch> m_patches; // held for the original until commit()
    long long m_length;
    long long m_position = 0;
    QByteArray m_buffer; // read-ahead of the current file
    long long m_bufferOffset = 0;
    Error m_failure{ErrorCode::Unwritable, {}};
    bool m_failed = false;
    struct stat m_saved {};
};
