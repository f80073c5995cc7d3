// The data side of a document/view program: one document per template, shown by its view.
#pragma once

#include "framework/portable/object.h"

#include <windows.h>

#include <string>

class CDocument : public CObject {
public:
    // Start of a new, empty document; FALSE refuses it.
    virtual BOOL OnNewDocument() { return TRUE; }

    const std::string& GetTitle() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

private:
    std::string title_;
};
