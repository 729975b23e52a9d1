#include "transfer/FtpSocket.h"

namespace transfer {

void StartWinsock() {
  static bool started = false;
  if (started) return;
  WSADATA data;
  started = WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void FtpSocket::Open(HWND window, UINT message) {
  Close();
  StartWinsock();
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(Port));
  address.sin_addr.s_addr = inet_addr(Host.c_str());
  if (address.sin_addr.s_addr == INADDR_NONE) {
    hostent* found = Host.empty() ? nullptr : gethostbyname(Host.c_str());
    if (!found || found->h_addrtype != AF_INET) {
      if (OnError) OnError(WSAGetLastError() ? WSAGetLastError() : WSAHOST_NOT_FOUND);
      return;
    }
    address.sin_addr = *reinterpret_cast<in_addr*>(found->h_addr_list[0]);
  }
  socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket_ == INVALID_SOCKET) {
    if (OnError) OnError(WSAGetLastError());
    return;
  }
  if (SendBufferSize > 0) {
    setsockopt(socket_, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&SendBufferSize), sizeof(SendBufferSize));
  }
  WSAAsyncSelect(socket_, window, message, FD_CONNECT | FD_READ | FD_CLOSE);
  if (connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR &&
      WSAGetLastError() != WSAEWOULDBLOCK) {
    if (OnError) OnError(WSAGetLastError());
  }
}

void FtpSocket::Close() {
  if (socket_ == INVALID_SOCKET) return;
  closesocket(socket_);
  socket_ = INVALID_SOCKET;
}

std::string FtpSocket::PeerAddress() const {
  sockaddr_in peer{};
  int length = sizeof(peer);
  if (socket_ == INVALID_SOCKET || getpeername(socket_, reinterpret_cast<sockaddr*>(&peer), &length) != 0 ||
      peer.sin_family != AF_INET)
    return "";
  return inet_ntoa(peer.sin_addr);
}

bool FtpSocket::WaitWritable(int milliseconds) {
  fd_set writable;
  FD_ZERO(&writable);
  FD_SET(socket_, &writable);
  timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
  return select(0, nullptr, &writable, nullptr, &wait) > 0;
}

void FtpSocket::HandleEvent(WPARAM w, LPARAM l) {
  if (socket_ == INVALID_SOCKET || static_cast<SOCKET>(w) != socket_) return;  // a closed socket's leftovers
  int error = WSAGETSELECTERROR(l);
  if (error != 0) {
    if (OnError) OnError(error);
    return;
  }
  switch (WSAGETSELECTEVENT(l)) {
    case FD_CONNECT:
      if (OnConnect) OnConnect();
      break;
    case FD_READ:
      if (OnRead) OnRead();
      break;
    case FD_CLOSE:
      if (OnDisconnect) OnDisconnect();
      break;
    default:
      break;
  }
}

}  // namespace transfer
