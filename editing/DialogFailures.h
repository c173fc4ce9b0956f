#pragma once
// The frame of a dialog handler: a failure inside it is wrapped under the
// handler's name, shown as an error chain and discarded, so the dialog stays
// open for the user to carry on.

#include <utility>

#include "infra/ZelkaExceptions.h"

template <class Body>
void zelkaDialogHandler(const char* filePath, const char* procSig, Body&& body)
{
    try {
        zelkaOperation(filePath, procSig, std::forward<Body>(body));
    } catch (const CEXZelka& e) {
        e.displayErrorChain();
    }
}
