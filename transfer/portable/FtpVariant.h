// Which program carries the transfer client; it changes a few log lines.
#pragma once

namespace transfer {

enum class FtpVariant { Manager, Client, Updater };

// cs1Read first logs "FTP path DataReceived!" in the client and the updater.
inline bool LogsDataReceived(FtpVariant v) { return v != FtpVariant::Manager; }
// FtpUpload logs its PASV and data address lines in the manager only.
inline bool LogsUploadAddress(FtpVariant v) { return v == FtpVariant::Manager; }

}  // namespace transfer
