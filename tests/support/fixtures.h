#pragma once

#include <QByteArray>
#include <QRgb>
#include <QString>

class QTemporaryDir;

// The untagged audio files in tests/data ("silence.mp3", "silence.m4a", "silence.flac",
// "silence.aiff", "silence.wav").
QString fixturePath(const QString &fixtureName);

// Copies a fixture into the folder under a new name and makes the copy writable. Returns the
// copy's path, or "" if the copy failed.
QString copyFixture(const QTemporaryDir &dir, const QString &fixtureName, const QString &newName);

// Writes bytes to a new file in the folder; returns its path, or "" on failure.
QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes);

// Small encoded pictures of one colour: equal colours give equal bytes, different colours give
// different bytes.
QByteArray samplePng(QRgb color);
QByteArray sampleJpeg(QRgb color);

// Points the settings store at an INI file in the folder, so a test never reads or writes the
// user's settings. Call in initTestCase().
void useTemporarySettings(const QTemporaryDir &dir);
// The settings as the editor has them at start, kept in the folder: every key's registered default
// and the string table installed. False when the folder or the string table is missing.
[[nodiscard]] bool useEditorSettings(const QTemporaryDir &dir);
