// A non-blocking client socket whose events arrive as a window message
// (WSAAsyncSelect) and are passed on to its handlers.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <string>

namespace transfer {

class FtpSocket {
 public:
  FtpSocket() = default;
  ~FtpSocket() { Close(); }
  FtpSocket(const FtpSocket&) = delete;
  FtpSocket& operator=(const FtpSocket&) = delete;

  std::string Host;
  int Port = 0;
  // SO_SNDBUF for the next Open; 0 keeps the system's size.
  int SendBufferSize = 0;

  std::function<void()> OnConnect, OnRead, OnDisconnect;
  std::function<void(int error)> OnError;

  // Starts an asynchronous connect to Host:Port; events go to `window` as
  // `message`. A failure to start is reported through OnError.
  void Open(HWND window, UINT message);
  // Closes the socket; events still queued for it are dropped.
  void Close();
  bool Active() const { return socket_ != INVALID_SOCKET; }
  SOCKET Handle() const { return socket_; }

  // recv/send on the socket: bytes moved, 0 at the end of the stream, or
  // SOCKET_ERROR (WSAGetLastError tells why).
  int Receive(char* buffer, int size) { return recv(socket_, buffer, size, 0); }
  int Send(const char* data, int size) { return send(socket_, data, size, 0); }
  // Signals the end of the data to the peer.
  void ShutdownSend() { shutdown(socket_, SD_SEND); }
  // The dotted address of the connected peer, "" when not connected.
  std::string PeerAddress() const;
  // Waits up to `milliseconds` until a send may go through.
  bool WaitWritable(int milliseconds);

  // Passes one socket message on to the handlers.
  void HandleEvent(WPARAM w, LPARAM l);

 private:
  SOCKET socket_ = INVALID_SOCKET;
};

// WSAStartup once per process.
void StartWinsock();

}  // namespace transfer
