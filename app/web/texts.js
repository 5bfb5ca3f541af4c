// Every text the page shows of its own, in the game's language, in one place, marked with N_ for
// the translators' catalogue. {name} in a text is filled in by VkText(key, values), which shows
// the text in the page's language.
function N_(text) {
  return text;
}

// The page's language: ?lang=CODE in its address, else the first of the browser's languages that
// has a catalogue (catalogues.js, made from the translations at build time) or is the game's own;
// an empty code for the game's own language, Russian.
var VkLanguage = (function() {
  var catalogues = self.VkCatalogues || {};
  var asked = [];
  var match = /[?&]lang=([^&#]*)/.exec(location.search);
  if (match) {
    asked.push(decodeURIComponent(match[1]));
  }
  asked = asked.concat(navigator.languages || [navigator.language || ""]);
  for (var i = 0; i < asked.length; ++i) {
    // "en-GB" is looked up as en_GB, then as en.
    var parts = String(asked[i]).split(/[-_]/);
    var codes = parts.length > 1 ? [parts[0].toLowerCase() + "_" + parts[1].toUpperCase()] : [];
    codes.push(parts[0].toLowerCase());
    for (var j = 0; j < codes.length; ++j) {
      if (codes[j] === "ru") {
        return "";
      }
      if (catalogues.hasOwnProperty(codes[j])) {
        return codes[j];
      }
    }
  }
  return "";
})();

// The translations of the page's language, by source text: the game's texts as well as the page's.
var VkTranslations = VkLanguage ? self.VkCatalogues[VkLanguage] : {};
document.documentElement.lang = VkLanguage ? VkLanguage.replace("_", "-") : "ru";

var VkTexts = {
  title: "Vorkalith",
  loading: N_("Загрузка…"),
  loadingBytes: N_("{done} из {total} КБ"),
  screen: N_("Игровое поле"),
  fullscreen: N_("Во весь экран"),
  integerScale: N_("Целый масштаб"),
  touchPad: N_("Кнопки на экране"),
  escape: "Esc",
  up: N_("Вверх"),
  down: N_("Вниз"),
  left: N_("Влево"),
  right: N_("Вправо"),
  ok: "OK",
  cannotStart: N_("Игра не может начаться"),
  noWebAssembly: N_("Этот браузер не исполняет WebAssembly."),
  missingFeatures: N_("Этому браузеру не хватает возможностей WebAssembly: {features}. Нужен Chromium 91, Firefox 89, Safari 16.4 или новее."),
  simd: "SIMD",
  bulkMemory: N_("массовые операции с памятью"),
  httpError: N_("{address}: не загружается (HTTP {status})"),
  fetchError: N_("{address}: не загружается ({reason})"),
  scriptFailed: N_("{address}: не загружается"),
  damagedProgram: N_("{address}: программа повреждена ({reason})"),
  damagedLevels: N_("{address}: файл уровней повреждён ({reason})"),
  levelInPack: N_("{address}, уровень {file}: {reason}"),
  ended: N_("Игра окончена. Спасибо, что играли!"),
  playAgain: N_("Играть снова"),
  demoOver: N_("Демонстрация окончена: {frames} кадров."),
  demoEndedEarly: N_("Игра окончилась на кадре {frames} из {total}: повтор пошёл не так, как запись."),
  demoRefused: N_("Эту демонстрацию не сыграть."),
  demoFetchError: N_("{address}: демонстрация не загружается ({reason})"),
  demoOtherSite: N_("проигрываются только демонстрации с сайта этой страницы"),
  demoTooLarge: N_("слишком велика для демонстрации"),
  submitTitle: N_("Таблица рекордов"),
  submitOffer: N_("Отправить эту игру на таблицу рекордов? Сервер проверит её, сыграв запись сам."),
  submitName: N_("Имя"),
  submitSend: N_("Отправить"),
  submitClose: N_("Закрыть"),
  submitSending: N_("Отправка…"),
  submitQueued: N_("Игра {id} ждёт проверки…"),
  submitVerified: N_("Игра {id} проверена: {score} очков."),
  submitRejected: N_("Игра {id} отклонена: {reason}"),
  submitFailed: N_("Не отправлено: {reason}"),
};

function VkText(key, values) {
  var text = String(VkTexts[key]);
  if (VkTranslations.hasOwnProperty(text)) {
    text = VkTranslations[text];
  }
  return text.replace(/\{(\w+)\}/g, function(whole, name) {
    return values && name in values ? String(values[name]) : whole;
  });
}
