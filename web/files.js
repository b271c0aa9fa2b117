// What the page keeps and hands out: the design in the browser's local
// storage, the recent files, the design's link and downloads.

// The keys of local storage: the design, its text when last opened or
// saved, the file it came from.
export const STORE_KEY = 'diaspring.design';
export const SAVED_KEY = 'diaspring.saved';
export const FILE_KEY = 'diaspring.file';

// The browser's local storage, or null where it is forbidden (some browsers
// refuse it to a page opened from a file); the page then says so once.
export const store = (() => {
  try {
    const s = window.localStorage;
    s.getItem(STORE_KEY);
    return s;
  } catch {
    return null;
  }
})();
if (!store) {
  const note = document.getElementById('storageNote');
  note.textContent = '此浏览器不允许本页使用本地存储（从文件打开时常见）：关闭或刷新页面后设计不会自动恢复，请先“保存”。';
  note.hidden = false;
}

// 最近打开的文件: the page cannot open a file again by its path, so it keeps
// the last eight files' names and texts in local storage (where allowed).
const RECENT_KEY = 'diaspring.recent';
const MAX_RECENT = 8;
export const recentList = () => {
  try {
    return JSON.parse(store?.getItem(RECENT_KEY) || '[]');
  } catch {
    return [];
  }
};
export function showRecent() {
  const select = document.getElementById('recentFiles');
  const list = recentList();
  select.replaceChildren(select.options[0], ...list.map(([name], i) => new Option(name, String(i))));
  select.disabled = list.length === 0;
  select.value = '';
}
export function rememberRecent(name, text) {
  const list = [[name, text], ...recentList().filter(([n]) => n !== name)].slice(0, MAX_RECENT);
  try {
    store?.setItem(RECENT_KEY, JSON.stringify(list));
  } catch { /* storage full: the list stays as it was */ }
  showRecent();
}

export function download(name, type, data) {
  const url = URL.createObjectURL(new Blob([data], { type }));
  const a = Object.assign(document.createElement('a'), { href: url, download: name });
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

export const toBase64Url = (text) => {
  const bytes = new TextEncoder().encode(text);
  let bin = '';
  for (const b of bytes) bin += String.fromCharCode(b);
  return btoa(bin).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
};
export const fromBase64Url = (s) => {
  const bin = atob(s.replace(/-/g, '+').replace(/_/g, '/'));
  return new TextDecoder().decode(Uint8Array.from(bin, (c) => c.charCodeAt(0)));
};
