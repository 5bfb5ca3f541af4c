// Every text the page shows of its own, in the game's language, in one place to be translated.
// {name} in a text is filled in by VkText(key, values).
var VkTexts = {
  title: "Vorkalith",
  loading: "Загрузка…",
  loadingBytes: "{done} из {total} КБ",
  screen: "Игровое поле",
  fullscreen: "Во весь экран",
  integerScale: "Целый масштаб",
  touchPad: "Кнопки на экране",
  escape: "Esc",
  up: "Вверх",
  down: "Вниз",
  left: "Влево",
  right: "Вправо",
  ok: "OK",
  cannotStart: "Игра не может начаться",
  noWebAssembly: "Этот браузер не исполняет WebAssembly.",
  missingFeatures: "Этому браузеру не хватает возможностей WebAssembly: {features}. Нужен Chromium 91, " +
                   "Firefox 89, Safari 16.4 или новее.",
  simd: "SIMD",
  bulkMemory: "массовые операции с памятью",
  httpError: "{address}: не загружается (HTTP {status})",
  fetchError: "{address}: не загружается ({reason})",
  scriptFailed: "{address}: не загружается",
  damagedProgram: "{address}: программа повреждена ({reason})",
  damagedLevels: "{address}: файл уровней повреждён ({reason})",
  ended: "Игра окончена. Спасибо, что играли!",
  playAgain: "Играть снова",
  demoOver: "Демонстрация окончена: {frames} кадров.",
  demoEndedEarly: "Игра окончилась на кадре {frames} из {total}: повтор пошёл не так, как запись.",
  demoRefused: "Эту демонстрацию не сыграть.",
  submitTitle: "Таблица рекордов",
  submitOffer: "Отправить эту игру на таблицу рекордов? Сервер проверит её, сыграв запись сам.",
  submitName: "Имя",
  submitSend: "Отправить",
  submitClose: "Закрыть",
  submitSending: "Отправка…",
  submitQueued: "Игра {id} ждёт проверки…",
  submitVerified: "Игра {id} проверена: {score} очков.",
  submitRejected: "Игра {id} отклонена: {reason}",
  submitFailed: "Не отправлено: {reason}",
};

function VkText(key, values) {
  return String(VkTexts[key]).replace(/\{(\w+)\}/g, function(whole, name) {
    return values && name in values ? String(values[name]) : whole;
  });
}
