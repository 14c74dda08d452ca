#pragma once

#include <QString>

// Text helpers for showing event descriptions.

// Strips the boiler-plate of online-meeting invitations and turns their join line into one
// link (or drops it when the event already has a conference address). Descriptions without
// that boiler-plate come back unchanged.
[[nodiscard]] QString renderDescriptionHtml(const QString &description,
                                            const QString &conferenceUrl);

// True when the text already contains common HTML tags.
[[nodiscard]] bool looksLikeHtml(const QString &text);

// Wraps bare http(s) addresses in links, coloured when a colour is given. Addresses that are
// already part of a link are left alone. Nothing is escaped: pass HTML-safe text.
[[nodiscard]] QString linkifyUrls(const QString &text, const QString &color);
