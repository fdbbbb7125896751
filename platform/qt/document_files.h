#pragma once

#include <QString>
#include <string>

class CDocument;
class QWidget;

// The program's side of its document's life in files, which the document
// template drives. One object owns the document for as long as it lives,
// reads and writes its file, decides what follows when another program
// writes that file, and may keep changes not yet saved (a recovery copy)
// to offer them back to a later start. The template keeps the windows, asks
// the questions of New, Open and Save, and watches the file.
class DocumentFiles {
public:
    // What a save did: an error for the user (nothing saved), a quiet
    // cancel, or success with a note for the status bar.
    struct SaveResult {
        QString error;
        QString status;
        bool cancelled = false;
    };

    virtual ~DocumentFiles() = default;

    virtual CDocument& Document() = 0;

    // Empties the document for a new one: nothing on disk is known any more.
    virtual void New() = 0;
    // Reads `path` into the document: the message for the user, or empty.
    // A failed load leaves the document as it was.
    virtual QString Load(const std::string& path) = 0;
    // Writes the document to `path`, merging what another program wrote
    // meanwhile and asking over `parent` about what both changed. A save
    // that writes also ends the recovery copy of the changes it wrote.
    virtual SaveResult Save(const std::string& path, QWidget* parent) = 0;

    // The document now shows the file it names (or is new): offers back,
    // over `parent`, what an earlier start left unsaved. True when taken.
    virtual bool OfferRecovery(QWidget* parent) = 0;
    // The user lets the unsaved changes go: no copy of them is kept.
    virtual void DropRecovery() = 0;

    // The file at `path` is no longer what was loaded from or saved to it.
    virtual bool ChangedOnDisk(const std::string& path) const = 0;
    // The document's file or its folder may have changed (and once after the
    // file is opened): acts on it, asking over `parent` if need be, and
    // returns what the status bar says, or empty.
    virtual QString OnFileChanged(QWidget* parent) = 0;
};
